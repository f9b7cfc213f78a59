#include "payload/resource_bytes.h"

const BYTE* ResourceBytes(HMODULE module, LPCSTR name, WORD type, DWORD* size) {
    HRSRC resource = FindResourceA(module, name, MAKEINTRESOURCEA(type));
    *size = resource ? SizeofResource(module, resource) : 0;
    HGLOBAL loaded = *size ? LoadResource(module, resource) : nullptr;
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}
