#include "discovery/vendor_search.h"

#include <windows.h>
#include <string.h>

#include "common/bounded_text.h"
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

// Whether a value names a plug-in folder. `keyPath` is in lower case;
// `name` and `data` are changed in place.
bool IsPluginFolderValue(const char* keyPath, const char* pattern, char* name, char* data) {
    if (data[0] == '\0') return false;
    SkipToFirstLetter(data);
    if (data[0] == '\0' || data[1] != ':') return false;
    if (!strstr(keyPath, pattern)) return false;
    if (strstr(keyPath, "plug")) return true;
    _strlwr(name);
    return strstr(name, "plug") || strstr(name, "directory1") || strstr(name, "directory2") ||
           strstr(name, "directory3");
}

void ExamineValues(HKEY root, char* keyPath, const char* pattern) {
    char name[kPathSize];
    char data[kPathSize];
    _strlwr(keyPath);
    for (;;) {
        LONG status = EnumNextValue(root, keyPath, name, data);
        // A value too long for the buffers is passed over, not the key's rest.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return;
        if (IsPluginFolderValue(keyPath, pattern, name, data)) AddCandidateFolder(data);
    }
}

void WalkVendorTree(HKEY root, char* keyPath, const char* pattern) {
    KeyPathStack stack;
    int32_t subkeyIndex = 0;
    char subkey[kPathSize];
    for (;;) {
        ExamineValues(root, keyPath, pattern);
        for (;;) {
            if (EnumSubkeyAt(root, keyPath, subkey, subkeyIndex) == ERROR_SUCCESS) {
                if (stack.Push(keyPath, subkey, &subkeyIndex)) break;
                ++subkeyIndex;  // too deep or too long a path: its sibling is next
                continue;
            }
            subkeyIndex = stack.Pop(keyPath);
            if (subkeyIndex < 0) return;
            ++subkeyIndex;
        }
    }
}

}  // namespace

void SearchVendorKey(const char* rootName, const char* vendor, const char* pattern) {
    static const HKEY kRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    char keyPath[kPathSize];
    for (HKEY root : kRoots) {
        CopyText(keyPath, root == HKEY_USERS ? ".default\\" : "");
        if (AppendText(keyPath, rootName) && AppendText(keyPath, "\\") && AppendText(keyPath, vendor))
            WalkVendorTree(root, keyPath, pattern);
    }
}
