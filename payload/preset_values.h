// Preset blocks travel as payload resources and are installed as numbered
// binary registry values, one per slot, under both HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

struct PresetKind {
    const char* marker;  // contained in the mapped resource name
    const char* prefix;  // value names: prefix and a two-digit slot number
    int slotCount;
    int slotSize;  // bytes per slot
    const char* subkey;
};

// The first kind whose marker `mappedName` contains, or null.
const PresetKind* FindPresetKind(const char* mappedName);

// Writes slot k (from 1) of `block` as the value prefix+"%0.2i" of k. Only the
// slots that lie wholly inside the `size` bytes are written; a failing hive
// or slot does not stop the others.
void InstallPresetBlock(const PresetKind& kind, const BYTE* block, DWORD size);

// Writes one REG_BINARY value under `subkey` of HKEY_CURRENT_USER, then of
// HKEY_LOCAL_MACHINE, creating the subkey where missing. A hive that refuses
// is passed over.
void WriteRegistryValue(const char* name, const char* subkey, const void* data, DWORD size);
