#include "common/system_function.h"

#include "common/bounded_text.h"

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH + 32];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path[length] = '\\';
    return CopyText(path + length + 1, sizeof path - length - 1, name) ? LoadLibraryA(path)
                                                                       : nullptr;
}
