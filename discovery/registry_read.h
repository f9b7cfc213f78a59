// Readers of string values and subkey names for the folder searches.
#pragma once

#include <windows.h>

#include "discovery/candidate_list.h"

// A name or data text is read when it holds at most 256 characters, its NUL
// included. The platform is told of room for that many in any script; the
// buffers themselves are kPathSize bytes, so a text is always terminated
// inside them.
constexpr DWORD kRegistryTextLength = 256;
constexpr DWORD kRegistryTextSize = 3 * kRegistryTextLength;
static_assert(kRegistryTextSize < kPathSize, "registry texts are terminated inside their buffer");

// Index of the next value EnumNextValue reads; back at 0 once an enumeration
// of a key's values has ended.
extern DWORD ValueEnumIndex;

// Reads the value `name` ("" for the default value) of root\keyPath, opened
// for this one lookup, into `text` (kPathSize bytes). Returns the platform's status: 0 with the
// value's text, which is empty when the value is not of type REG_SZ; nonzero when the key or value
// is missing or the data do not fit 256 characters.
LONG ReadStringValue(HKEY root, const char* keyPath, const char* name, char* text);

// Reads the value at ValueEnumIndex of the open `key` into `name` and `data`
// (kPathSize bytes each) and moves the index on. Returns the platform's
// status: 0 with the value's name and text (empty when not of type REG_SZ);
// ERROR_MORE_DATA when the name is longer than 255 characters or the data do
// not fit 256 characters (the index has moved past it, the buffers hold nothing
// usable); anything else ends the enumeration and sets the index back to 0.
LONG EnumNextValue(HKEY key, char* name, char* data);

// Reads the name of the subkey at `index` of the open `key` into `name`
// (kPathSize bytes). Returns the platform's status: 0 with the name; nonzero
// when there is no such subkey.
LONG EnumSubkeyAt(HKEY key, char* name, DWORD index);
