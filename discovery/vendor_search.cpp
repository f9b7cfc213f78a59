#include "discovery/vendor_search.h"

#include <string.h>
#include <windows.h>

#include "common/bounded_text.h"
#include "common/code_page_text.h"
#include "common/handles.h"
#include "discovery/candidate_list.h"
#include "discovery/path_text.h"
#include "discovery/registry_read.h"

bool KeyPathStack::Push(char* keyPath, const char* name, int32_t* subkeyIndex) {
    if (IsFull() || SystemLength(keyPath) + 1 + SystemLength(name) >= kPathLength) return false;
    ++top;
    savedIndex[top] = *subkeyIndex;
    savedLength[top] = static_cast<int32_t>(strlen(keyPath));
    AppendText(keyPath, kPathSize, "\\");
    AppendText(keyPath, kPathSize, name);
    *subkeyIndex = 0;
    return true;
}

int32_t KeyPathStack::Pop(char* keyPath) {
    if (top < 0) return -1;
    keyPath[savedLength[top]] = '\0';
    return savedIndex[top--];
}

bool IsPluginFolderValue(const char* keyPath, char* name, char* data) {
    SkipToFirstLetter(data);
    if (data[0] == '\0' || data[1] != ':') return false;
    if (strstr(keyPath, "plug")) return true;
    _strlwr(name);
    return strstr(name, "plug") || strstr(name, "directory1") || strstr(name, "directory2") ||
           strstr(name, "directory3");
}

namespace {

void ExamineValues(HKEY key, DWORD valueCount, char* keyPath, const char* pattern) {
    _strlwr(keyPath);
    // No value of a key outside the pattern can qualify.
    if (!strstr(keyPath, pattern)) return;
    char name[kPathSize];
    char data[kPathSize];
    // Up to the count, so no call is spent on learning that the values end.
    for (ValueEnumIndex = 0; ValueEnumIndex < valueCount;) {
        LONG status = EnumNextValue(key, name, data);
        // A value too long for the buffers is passed over, not the key's rest.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) break;
        if (IsPluginFolderValue(keyPath, name, data)) AddCandidateFolder(data);
    }
    ValueEnumIndex = 0;
}

// Opens `name` below `parent` into `key` and examines its values; returns its
// subkey count, 0 when it cannot be opened or asked.
DWORD EnterKey(RegKey* key, HKEY parent, const char* name, char* keyPath, const char* pattern) {
    DWORD subkeyCount = 0;
    DWORD valueCount = 0;
    if (key->Open(parent, name) != ERROR_SUCCESS ||
        RegQueryInfoKeyA(key->Get(), nullptr, nullptr, nullptr, &subkeyCount, nullptr, nullptr,
                         &valueCount, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    ExamineValues(key->Get(), valueCount, keyPath, pattern);
    return subkeyCount;
}

// Each key is opened once, below its parent; the key path is still built in
// full, as its length limit decides which keys are passed over.
void WalkVendorTree(HKEY root, char* keyPath, const char* pattern) {
    KeyPathStack stack;
    // Level 0 is the vendor key, level n + 1 the key entered at stack level n.
    RegKey keys[kKeyPathLevels];
    DWORD subkeyCounts[kKeyPathLevels];
    subkeyCounts[0] = EnterKey(&keys[0], root, keyPath, keyPath, pattern);
    int32_t subkeyIndex = 0;
    char subkey[kPathSize];
    for (;;) {
        int32_t level = stack.top + 1;
        if (static_cast<DWORD>(subkeyIndex) < subkeyCounts[level] && !stack.IsFull() &&
            EnumSubkeyAt(keys[level].Get(), subkey, subkeyIndex) == ERROR_SUCCESS) {
            if (stack.Push(keyPath, subkey, &subkeyIndex))
                subkeyCounts[level + 1] =
                    EnterKey(&keys[level + 1], keys[level].Get(), subkey, keyPath, pattern);
            else
                ++subkeyIndex;  // too long a path: its sibling is next
            continue;
        }
        keys[level].Reset();
        subkeyIndex = stack.Pop(keyPath);
        if (subkeyIndex < 0) return;
        ++subkeyIndex;
    }
}

}  // namespace

void SearchVendorKey(const char* rootName, const char* vendor, const char* pattern) {
    static const HKEY kRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    char keyPath[kPathSize];
    for (HKEY root : kRoots) {
        CopyText(keyPath, root == HKEY_USERS ? ".default\\" : "");
        if (AppendText(keyPath, rootName) && AppendText(keyPath, "\\") &&
            AppendText(keyPath, vendor))
            WalkVendorTree(root, keyPath, pattern);
    }
}
