// The bytes of the program's own resources, as the payload's passes read them.
#pragma once

#include <windows.h>

// The bytes of the resource `name` of `type` in `module`, which live as long
// as the module, and their count in `size`; null when the resource is
// missing, empty or cannot be loaded.
const BYTE* ResourceBytes(HMODULE module, LPCSTR name, WORD type, DWORD* size);
