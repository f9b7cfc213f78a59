// The search of a vendor's registry tree for plug-in folders.
#pragma once

#include <stdint.h>

constexpr int kKeyPathLevels = 20;

// The walk's stack of parent positions. Holds at most 19 levels, so the walk
// reaches keys at most 19 levels below the vendor key.
struct KeyPathStack {
    int32_t top = -1;                     // innermost saved level; -1: empty
    int32_t savedIndex[kKeyPathLevels];   // subkey index entered from the parent
    int32_t savedLength[kKeyPathLevels];  // key path length before the name

    // Whether 19 levels are saved, so that no Push can succeed.
    bool IsFull() const { return top >= kKeyPathLevels - 2; }

    // Descends into the subkey `name`: saves `*subkeyIndex` and the length of
    // `keyPath` (kPathSize bytes), appends a backslash and the name, and sets
    // `*subkeyIndex` to 0. Returns false, changing nothing, when IsFull or
    // the longer key path would pass kPathLength characters.
    bool Push(char* keyPath, const char* name, int32_t* subkeyIndex);

    // Goes back to the parent: ends `keyPath` where it was before the last
    // Push and returns the subkey index saved then; -1 when empty.
    int32_t Pop(char* keyPath);
};

// Whether a value of a key whose path (`keyPath`, lower case) contains the
// pattern names a plug-in folder: its `data` hold a drive path and the key
// path contains "plug", or its `name` "plug" or "directory1" to "directory3".
// `name` is lower-cased and `data` cut to start at its first letter, in place.
bool IsPluginFolderValue(const char* keyPath, char* name, char* data);

// Walks root\vendor (`rootName` "software", say; all three names in lower
// case) in HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS\.default, in
// this order, depth first, each key's values before its subkeys, and offers
// every value of a key whose path contains `pattern` that IsPluginFolderValue
// takes to AddCandidateFolder. Reports nothing: missing or unreadable keys,
// values that do not fit the 256-byte buffers, and subkeys too deep or with
// too long a path are passed over. Each key is opened below its parent, which
// stays open until its subkeys are done, and read up to the counts it reports
// on opening: a key whose subkeys go away meanwhile ends its subkeys early,
// one that gains some ends them at the count. Every key opened is closed
// again on return.
void SearchVendorKey(const char* rootName, const char* vendor, const char* pattern);
