#include "common/com_apartment.h"

#include <objbase.h>

#include "common/system_function.h"

namespace {

// Never freed: COM objects made through it live until the process ends.
HMODULE Ole32;

}  // namespace

FARPROC OleProc(const char* name) {
    if (!Ole32) Ole32 = LoadSystemLibrary("ole32.dll");
    return Ole32 ? GetProcAddress(Ole32, name) : nullptr;
}

// One copy for its four callers: smaller than inlined.
__attribute__((noinline)) void JoinApartment() {
    if (auto join = OleFunction<decltype(&CoInitializeEx)>("CoInitializeEx"))
        join(nullptr, COINIT_APARTMENTTHREADED);
}
