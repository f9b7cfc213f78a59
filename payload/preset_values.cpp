#include "payload/preset_values.h"

#include <string.h>

#include "common/bounded_text.h"
#include "common/handles.h"

namespace {

const PresetKind kPresetKinds[] = {
    {"PresetsPastelsbin", "Portrait", 12, 64, "Software\\Vantorel\\PastelCraft"},
    {"PresetsBouquetsbin", "Bouquet", 16, 128, "Software\\Vantorel\\Quorvex"},
    {"PresetsPatternsbin", "Patterns", 12, 128, "Software\\Vantorel\\Quorvex"},
};

}  // namespace

const PresetKind* FindPresetKind(const char* mappedName) {
    for (const PresetKind& kind : kPresetKinds)
        if (strstr(mappedName, kind.marker)) return &kind;
    return nullptr;
}

void InstallPresetBlock(const PresetKind& kind, const BYTE* block, DWORD size) {
    DWORD completeSlots = size / static_cast<DWORD>(kind.slotSize);
    for (int k = 1; k <= kind.slotCount && static_cast<DWORD>(k) <= completeSlots; ++k) {
        char valueName[32];
        char number[16];
        wsprintfA(number, "%0.2i", k);
        if (!CopyText(valueName, kind.prefix) || !AppendText(valueName, number)) continue;
        WriteRegistryValue(valueName, kind.subkey, block + (k - 1) * kind.slotSize,
                           static_cast<DWORD>(kind.slotSize));
    }
}

void WriteRegistryValue(const char* name, const char* subkey, const void* data, DWORD size) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegKey key;
        if (key.Create(root, subkey) != ERROR_SUCCESS) continue;
        RegSetValueExA(key.Get(), name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    }
}
