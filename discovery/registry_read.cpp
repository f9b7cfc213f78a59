#include "discovery/registry_read.h"

#include "common/handles.h"

DWORD ValueEnumIndex;

namespace {

// Registry data need not end with a NUL: the text ends where the data do.
void EndText(char* text, DWORD type, DWORD size) {
    text[type == REG_SZ ? size : 0] = '\0';
}

}  // namespace

LONG ReadStringValue(HKEY root, const char* keyPath, const char* name, char* text) {
    RegKey key;
    LONG status = key.Open(root, keyPath);
    if (status != ERROR_SUCCESS) return status;
    DWORD type = REG_SZ;
    DWORD size = kRegistryTextSize;
    status =
        RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    if (status == ERROR_SUCCESS) EndText(text, type, size);
    return status;
}

LONG EnumNextValue(HKEY key, char* name, char* data) {
    DWORD nameSize = kRegistryTextSize;
    DWORD type = REG_SZ;
    DWORD dataSize = kRegistryTextSize;
    LONG status = RegEnumValueA(key, ValueEnumIndex, name, &nameSize, nullptr, &type,
                                reinterpret_cast<BYTE*>(data), &dataSize);
    ++ValueEnumIndex;
    if (status == ERROR_SUCCESS)
        EndText(data, type, dataSize);
    else if (status != ERROR_MORE_DATA)
        ValueEnumIndex = 0;
    return status;
}

LONG EnumSubkeyAt(HKEY key, char* name, DWORD index) {
    DWORD nameSize = kRegistryTextSize;
    FILETIME written;
    return RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, &written);
}
