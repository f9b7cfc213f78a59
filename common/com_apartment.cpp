#include "common/com_apartment.h"

#include <objbase.h>

// One copy for its four callers: smaller than inlined.
__attribute__((noinline)) void JoinApartment() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}
