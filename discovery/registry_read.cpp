#include "discovery/registry_read.h"

#include "common/code_page_text.h"
#include "common/handles.h"

DWORD ValueEnumIndex;

namespace {

// Registry data need not end with a NUL: the text ends where the data do.
// Data of more characters than a text holds are refused as the platform
// refuses data of more bytes than it was told of.
LONG EndText(LONG status, char* text, DWORD type, DWORD size) {
    if (status != ERROR_SUCCESS) return status;
    if (type == REG_SZ && SystemLength(text, static_cast<int>(size)) > int{kRegistryTextLength})
        return ERROR_MORE_DATA;
    text[type == REG_SZ ? size : 0] = '\0';
    return ERROR_SUCCESS;
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
    return EndText(status, text, type, size);
}

LONG EnumNextValue(HKEY key, char* name, char* data) {
    DWORD nameSize = kRegistryTextSize;
    DWORD type = REG_SZ;
    DWORD dataSize = kRegistryTextSize;
    LONG status = RegEnumValueA(key, ValueEnumIndex, name, &nameSize, nullptr, &type,
                                reinterpret_cast<BYTE*>(data), &dataSize);
    ++ValueEnumIndex;
    if (status == ERROR_SUCCESS &&
        SystemLength(name, static_cast<int>(nameSize)) >= int{kRegistryTextLength})
        return ERROR_MORE_DATA;
    status = EndText(status, data, type, dataSize);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) ValueEnumIndex = 0;
    return status;
}

LONG EnumSubkeyAt(HKEY key, char* name, DWORD index) {
    DWORD nameSize = kRegistryTextSize;
    return RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
}
