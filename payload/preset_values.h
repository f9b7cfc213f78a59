// Preset blocks travel as payload resources and are installed as numbered
// binary registry values, one per slot, under both HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

#include "common/handles.h"

struct PresetKind {
    const char* marker;  // contained in the mapped resource name
    const char* prefix;  // value names: prefix and a two-digit slot number
    int slotCount;
    int slotSize;  // bytes per slot
    const char* subkey;
};

// The first kind whose marker `mappedName` contains, or null.
const PresetKind* FindPresetKind(const char* mappedName);

// The preset values of one installation in one hive, written so that they can
// be put back. Keep opens a block's key (creating what is missing) and keeps
// the values that Write will replace; Write then writes every kept block;
// Restore puts the kept values back and removes the keys Keep created. Slot k
// (from 1) of a block becomes the REG_BINARY value prefix+"%0.2i" of k; only
// the slots that lie wholly inside the block are written.
class PresetHive {
  public:
    explicit PresetHive(HKEY root) : root_(root) {}
    PresetHive(const PresetHive&) = delete;
    PresetHive& operator=(const PresetHive&) = delete;

    // Returns the platform's status (0: kept). On failure the hive holds
    // what it held before this call; an earlier value too large to keep, or
    // more blocks or values than fit, count as refusals.
    LONG Keep(const PresetKind& kind, const BYTE* block, DWORD size);
    // Returns the status of the first write that failed, with its block's
    // kind in `failed`, or 0.
    LONG Write(const PresetKind** failed);
    // Returns false when a value could not be put back. Afterwards nothing
    // is kept, and Write writes nothing.
    bool Restore();

  private:
    static constexpr int kBlockCapacity = 4;
    static constexpr int kValueCapacity = 40;  // every kind's slots, once
    static constexpr int kDataCapacity = 256;  // bytes of an earlier value

    struct Block {
        const PresetKind* kind;
        const BYTE* bytes;
        int firstValue;
        int valueCount;
        int createdFrom;  // length of the first key level Keep created, or -1
        RegKey key;
    };
    struct KeptValue {
        char name[32];
        bool existed;
        DWORD type;
        DWORD size;
        BYTE data[kDataCapacity];
    };

    HKEY root_;
    Block blocks_[kBlockCapacity];
    int blockCount_ = 0;
    KeptValue values_[kValueCapacity];
    int valueCount_ = 0;
};
