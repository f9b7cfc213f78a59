#include "common/system_function.h"

#include "common/bounded_text.h"

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH + 32];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0) return nullptr;  // with the platform's error
    // With the altered search, the DLLs that this one needs come from the
    // system folder as well, not from the program's folder first, also where
    // the search cannot be restricted for the whole process.
    if (length < MAX_PATH && CopyText(path + length + 1, sizeof path - length - 1, name)) {
        path[length] = '\\';
        return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
}
