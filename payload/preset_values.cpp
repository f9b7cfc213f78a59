#include "payload/preset_values.h"

#include <string.h>

#include "common/bounded_text.h"

namespace {

const PresetKind kPresetKinds[] = {
    {"PresetsPastelsbin", "Portrait", 12, 64, "Software\\Vantorel\\PastelCraft"},
    {"PresetsBouquetsbin", "Bouquet", 16, 128, "Software\\Vantorel\\Quorvex"},
    {"PresetsPatternsbin", "Patterns", 12, 128, "Software\\Vantorel\\Quorvex"},
};

constexpr REGSAM kValueAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;
constexpr int kKeyPathSize = 256;

// Opens root\subkey for reading and setting values. A missing key is made one
// level at a time, so that `createdFrom` can tell the length of the first
// level made (or -1): the levels from there on are the installation's own.
LONG OpenPresetKey(HKEY root, const char* subkey, RegKey* key, int* createdFrom) {
    *createdFrom = -1;
    LONG status = key->Open(root, subkey, kValueAccess);
    if (status != ERROR_FILE_NOT_FOUND) return status;
    char level[kKeyPathSize];
    for (int end = 0; end < kKeyPathSize; ++end) {
        if (subkey[end] != '\\' && subkey[end] != '\0') continue;
        memcpy(level, subkey, end);
        level[end] = '\0';
        HKEY opened = nullptr;
        DWORD disposition = 0;
        status = RegCreateKeyExA(root, level, 0, nullptr, REG_OPTION_NON_VOLATILE, kValueAccess,
                                 nullptr, &opened, &disposition);
        if (status != ERROR_SUCCESS) return status;
        key->Reset(opened);
        if (disposition == REG_CREATED_NEW_KEY && *createdFrom < 0) *createdFrom = end;
        if (subkey[end] == '\0') return ERROR_SUCCESS;
    }
    return ERROR_FILENAME_EXCED_RANGE;
}

// Deletes the levels of root\subkey from the innermost up to the one that
// `createdFrom` names. A level that has gained subkeys meanwhile stays.
void RemoveCreatedKeys(HKEY root, const char* subkey, int createdFrom) {
    char level[kKeyPathSize];
    if (createdFrom <= 0 || !CopyText(level, subkey)) return;
    for (int end = lstrlenA(level); end >= createdFrom;) {
        level[end] = '\0';
        RegDeleteKeyA(root, level);
        do --end;
        while (end > 0 && level[end] != '\\');
    }
}

}  // namespace

const PresetKind* FindPresetKind(const char* mappedName) {
    for (const PresetKind& kind : kPresetKinds)
        if (strstr(mappedName, kind.marker)) return &kind;
    return nullptr;
}

LONG PresetHive::Keep(const PresetKind& kind, const BYTE* block, DWORD size) {
    DWORD completeSlots = size / static_cast<DWORD>(kind.slotSize);
    int slots = completeSlots < static_cast<DWORD>(kind.slotCount) ? static_cast<int>(completeSlots)
                                                                   : kind.slotCount;
    if (blockCount_ == kBlockCapacity || valueCount_ + slots > kValueCapacity)
        return ERROR_NOT_ENOUGH_MEMORY;

    Block& kept = blocks_[blockCount_];
    kept.kind = &kind;
    kept.bytes = block;
    kept.firstValue = valueCount_;
    kept.valueCount = slots;
    LONG status = OpenPresetKey(root_, kind.subkey, &kept.key, &kept.createdFrom);
    for (int k = 1; status == ERROR_SUCCESS && k <= slots; ++k) {
        KeptValue& value = values_[valueCount_ + k - 1];
        char number[16];
        wsprintfA(number, "%0.2i", k);
        if (!CopyText(value.name, kind.prefix) || !AppendText(value.name, number)) {
            status = ERROR_INVALID_NAME;
            break;
        }
        value.size = sizeof value.data;
        status = RegQueryValueExA(kept.key.Get(), value.name, nullptr, &value.type, value.data,
                                  &value.size);
        value.existed = status == ERROR_SUCCESS;
        if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS) {
        kept.key.Reset();
        RemoveCreatedKeys(root_, kind.subkey, kept.createdFrom);
        return status;
    }
    ++blockCount_;
    valueCount_ += slots;
    return ERROR_SUCCESS;
}

LONG PresetHive::Write(const PresetKind** failed) {
    for (int b = 0; b < blockCount_; ++b) {
        const Block& block = blocks_[b];
        DWORD slotSize = static_cast<DWORD>(block.kind->slotSize);
        for (int i = 0; i < block.valueCount; ++i) {
            LONG status = RegSetValueExA(block.key.Get(), values_[block.firstValue + i].name, 0,
                                         REG_BINARY, block.bytes + i * slotSize, slotSize);
            if (status != ERROR_SUCCESS) {
                *failed = block.kind;
                return status;
            }
        }
    }
    return ERROR_SUCCESS;
}

bool PresetHive::Restore() {
    bool restored = true;
    while (blockCount_ > 0) {
        Block& block = blocks_[--blockCount_];
        for (int i = 0; i < block.valueCount; ++i) {
            const KeptValue& value = values_[block.firstValue + i];
            LONG status = value.existed ? RegSetValueExA(block.key.Get(), value.name, 0, value.type,
                                                         value.data, value.size)
                                        : RegDeleteValueA(block.key.Get(), value.name);
            restored = restored && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
        }
        block.key.Reset();
        RemoveCreatedKeys(root_, block.kind->subkey, block.createdFrom);
    }
    valueCount_ = 0;
    return restored;
}
