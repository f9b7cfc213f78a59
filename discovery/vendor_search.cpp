#include "discovery/vendor_search.h"

#include <string.h>
#include <windows.h>

#include "common/bounded_text.h"
#include "common/handles.h"
#include "discovery/candidate_list.h"
#include "discovery/path_text.h"
#include "discovery/registry_read.h"

bool KeyPathStack::Push(char* keyPath, const char* name, int32_t* subkeyIndex) {
    int32_t length = static_cast<int32_t>(strlen(keyPath));
    if (top >= kKeyPathLevels - 2) return false;
    if (length + 1 + strlen(name) >= static_cast<size_t>(kPathSize)) return false;
    ++top;
    savedIndex[top] = *subkeyIndex;
    savedLength[top] = length;
    AppendText(keyPath, kPathSize, "\\");
    AppendText(keyPath, kPathSize, name);
    *subkeyIndex = 0;
    return true;
}

int32_t KeyPathStack::Pop(char* keyPath) {
    if (top < 0) {
        top = -1;
        return -1;
    }
    keyPath[savedLength[top]] = '\0';
    return savedIndex[top--];
}

namespace {

// Whether a value names a plug-in folder. `keyPath` is in lower case and
// contains the pattern; `name` and `data` are changed in place.
bool IsPluginFolderValue(const char* keyPath, char* name, char* data) {
    if (data[0] == '\0') return false;
    SkipToFirstLetter(data);
    if (data[0] == '\0' || data[1] != ':') return false;
    if (strstr(keyPath, "plug")) return true;
    _strlwr(name);
    return strstr(name, "plug") || strstr(name, "directory1") || strstr(name, "directory2") ||
           strstr(name, "directory3");
}

void ExamineValues(HKEY key, char* keyPath, const char* pattern) {
    _strlwr(keyPath);
    // No value of a key outside the pattern can qualify.
    if (!strstr(keyPath, pattern)) return;
    char name[kPathSize];
    char data[kPathSize];
    for (;;) {
        LONG status = EnumNextValue(key, name, data);
        // A value too long for the buffers is passed over, not the key's rest.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return;
        if (IsPluginFolderValue(keyPath, name, data)) AddCandidateFolder(data);
    }
}

// The key being read stays open while its values and subkeys are read; it is
// opened again by path on coming back to it from a subkey.
void WalkVendorTree(HKEY root, char* keyPath, const char* pattern) {
    KeyPathStack stack;
    int32_t subkeyIndex = 0;
    char subkey[kPathSize];
    for (;;) {
        RegKey key;
        if (key.Open(root, keyPath) == ERROR_SUCCESS) ExamineValues(key.Get(), keyPath, pattern);
        for (;;) {
            if (key && EnumSubkeyAt(key.Get(), subkey, subkeyIndex) == ERROR_SUCCESS) {
                if (stack.Push(keyPath, subkey, &subkeyIndex)) break;
                ++subkeyIndex;  // too deep or too long a path: its sibling is next
                continue;
            }
            subkeyIndex = stack.Pop(keyPath);
            if (subkeyIndex < 0) return;
            ++subkeyIndex;
            key.Open(root, keyPath);
        }
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
