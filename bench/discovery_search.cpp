// Times three walks of the same scratch vendor trees of 1,000 and 10,000 keys
// in HKEY_CURRENT_USER, with a pattern that every key path matches and with
// one that none matches:
//   before  the search as it was: each key reopened by its full path after
//           each of its subkeys, values and subkeys read until none is left;
//   floor   a plain walk that opens each key below its parent and keeps it
//           open while it reads values and subkeys until none is left;
//   lean    SearchVendorKey.
// The walks take turns, in a rotating order, over several runs; each prints
// its fastest and median time and its registry calls per key of the tree
// (beyond those a bare vendor key costs), counted through this program's
// import table in one extra run that also checks that the three list the
// same folders. Removes the trees and folders it made.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/bounded_text.h"
#include "common/handles.h"
#include "discovery/candidate_list.h"
#include "discovery/registry_read.h"
#include "discovery/vendor_search.h"
#include "support/import_patch.h"

namespace {

constexpr int kChildren = 10;    // subkeys per key, filled breadth first
constexpr int kListedKeys = 15;  // keys whose value names a real folder
constexpr int kDefaultRuns = 7;  // timed runs of each walk and case

// Registry calls of this program, by kind, while the counters are on.
struct CallCounts {
    long open = 0, info = 0, value = 0, subkey = 0, close = 0;
    long Total() const { return open + info + value + subkey + close; }
    CallCounts operator-(const CallCounts& other) const {
        return {open - other.open, info - other.info, value - other.value, subkey - other.subkey,
                close - other.close};
    }
};
CallCounts Calls;

decltype(&RegOpenKeyExA) RealOpen;
decltype(&RegQueryInfoKeyA) RealInfo;
decltype(&RegEnumValueA) RealValue;
decltype(&RegEnumKeyExA) RealSubkey;
decltype(&RegCloseKey) RealClose;

LONG WINAPI CountedOpen(HKEY key, LPCSTR name, DWORD options, REGSAM access, PHKEY result) {
    ++Calls.open;
    return RealOpen(key, name, options, access, result);
}
LONG WINAPI CountedInfo(HKEY key, LPSTR keyClass, LPDWORD classSize, LPDWORD reserved,
                        LPDWORD subkeys, LPDWORD subkeyName, LPDWORD classLength, LPDWORD values,
                        LPDWORD valueName, LPDWORD valueData, LPDWORD security, PFILETIME written) {
    ++Calls.info;
    return RealInfo(key, keyClass, classSize, reserved, subkeys, subkeyName, classLength, values,
                    valueName, valueData, security, written);
}
LONG WINAPI CountedValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                         LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    ++Calls.value;
    return RealValue(key, index, name, nameSize, reserved, type, data, dataSize);
}
LONG WINAPI CountedSubkey(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                          LPSTR keyClass, LPDWORD classSize, PFILETIME written) {
    ++Calls.subkey;
    return RealSubkey(key, index, name, nameSize, reserved, keyClass, classSize, written);
}
LONG WINAPI CountedClose(HKEY key) {
    ++Calls.close;
    return RealClose(key);
}

// Counts the registry calls of this program while it lives.
class CallCounter {
  public:
    CallCounter() {
        Calls = CallCounts();
        RealOpen = open_.Real<decltype(RealOpen)>();
        RealInfo = info_.Real<decltype(RealInfo)>();
        RealValue = value_.Real<decltype(RealValue)>();
        RealSubkey = subkey_.Real<decltype(RealSubkey)>();
        RealClose = close_.Real<decltype(RealClose)>();
    }

  private:
    ImportPatch open_{"advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(CountedOpen)};
    ImportPatch info_{"advapi32.dll", "RegQueryInfoKeyA", reinterpret_cast<void*>(CountedInfo)};
    ImportPatch value_{"advapi32.dll", "RegEnumValueA", reinterpret_cast<void*>(CountedValue)};
    ImportPatch subkey_{"advapi32.dll", "RegEnumKeyExA", reinterpret_cast<void*>(CountedSubkey)};
    ImportPatch close_{"advapi32.dll", "RegCloseKey", reinterpret_cast<void*>(CountedClose)};
};

// Reads every value of `key` until the platform says there are no more,
// offering the plug-in folders among them when `keyPath` (lower case)
// contains the pattern.
void ReadAllValues(HKEY key, const char* keyPath, bool matches) {
    char name[kPathSize];
    char data[kPathSize];
    for (;;) {
        LONG status = EnumNextValue(key, name, data);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return;
        if (matches && IsPluginFolderValue(keyPath, name, data)) AddCandidateFolder(data);
    }
}

// The walk as it was before each key stayed open under its subkeys.
void WalkBefore(HKEY root, char* keyPath, const char* pattern) {
    KeyPathStack stack;
    int32_t subkeyIndex = 0;
    char subkey[kPathSize];
    for (;;) {
        RegKey key;
        if (key.Open(root, keyPath) == ERROR_SUCCESS) {
            _strlwr(keyPath);
            if (strstr(keyPath, pattern)) ReadAllValues(key.Get(), keyPath, true);
        }
        for (;;) {
            if (key && EnumSubkeyAt(key.Get(), subkey, subkeyIndex) == ERROR_SUCCESS) {
                if (stack.Push(keyPath, subkey, &subkeyIndex)) break;
                ++subkeyIndex;
                continue;
            }
            subkeyIndex = stack.Pop(keyPath);
            if (subkeyIndex < 0) return;
            ++subkeyIndex;
            key.Open(root, keyPath);
        }
    }
}

// The least the platform needs of a plain walk: each key opened once, below
// its parent, and kept open while its values and subkeys are read.
void FloorKey(HKEY parent, const char* name, char* keyPath, const char* pattern) {
    RegKey key;
    if (key.Open(parent, name) != ERROR_SUCCESS) return;
    _strlwr(keyPath);
    ReadAllValues(key.Get(), keyPath, strstr(keyPath, pattern) != nullptr);
    size_t length = strlen(keyPath);
    char subkey[kPathSize];
    for (DWORD index = 0; EnumSubkeyAt(key.Get(), subkey, index) == ERROR_SUCCESS; ++index) {
        if (AppendText(keyPath, kPathSize, "\\") && AppendText(keyPath, kPathSize, subkey))
            FloorKey(key.Get(), subkey, keyPath, pattern);
        keyPath[length] = '\0';
    }
}

void WalkFloor(HKEY root, char* keyPath, const char* pattern) {
    char vendorKey[kPathSize];
    CopyText(vendorKey, keyPath);
    FloorKey(root, vendorKey, keyPath, pattern);
}

// The three hives in the order SearchVendorKey takes them.
template <void (*Walk)(HKEY, char*, const char*)>
void SearchEachHive(const char* vendor, const char* pattern) {
    static const HKEY kRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    char keyPath[kPathSize];
    for (HKEY root : kRoots) {
        CopyText(keyPath, root == HKEY_USERS ? ".default\\software\\" : "software\\");
        if (AppendText(keyPath, vendor)) Walk(root, keyPath, pattern);
    }
}

void SearchLean(const char* vendor, const char* pattern) {
    SearchVendorKey("software", vendor, pattern);
}

struct Walk {
    const char* name;
    void (*search)(const char* vendor, const char* pattern);
};
const Walk kWalks[] = {{"before", SearchEachHive<WalkBefore>},
                       {"floor", SearchEachHive<WalkFloor>},
                       {"lean", SearchLean}};
constexpr int kWalkCount = sizeof kWalks / sizeof kWalks[0];

struct Result {
    CallCounts calls;  // those the tree's keys add to a search of the bare vendor key
    std::vector<std::string> listed;
    std::vector<double> ms;  // sorted once all runs are in
};

std::vector<std::string> Listed() {
    std::vector<std::string> paths;
    for (const CandidateFolder& candidate : CandidateList) {
        if (candidate.path[0] == '\0') break;
        paths.push_back(candidate.path);
    }
    return paths;
}

void SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

// Key i (from 1) hangs below key (i - 1) / kChildren, key 0 being the vendor
// key. Each has three values: a version text, a drive path and a number. The
// path's name speaks of plug-ins in kListedKeys keys spread over the tree,
// where it names a real folder; elsewhere every test but the last runs.
bool BuildTree(const std::string& vendorKey, int keyCount, const std::string& folders) {
    std::vector<std::string> paths{vendorKey};
    int spacing = keyCount / kListedKeys;
    for (int i = 1; i <= keyCount; ++i) {
        paths.push_back(paths[(i - 1) / kChildren] + "\\k" + std::to_string(i));
        RegKey key;
        if (key.Create(HKEY_CURRENT_USER, paths.back().c_str()) != ERROR_SUCCESS) return false;
        bool listed = i % spacing == 0 && i / spacing <= kListedKeys;
        std::string folder = listed ? folders + "f" + std::to_string(i / spacing)
                                    : "C:\\Program Files\\Bench\\k" + std::to_string(i);
        DWORD flags = static_cast<DWORD>(i);
        SetValue(key.Get(), "Version", REG_SZ, "3.1", 4);
        SetValue(key.Get(), listed ? "PluginPath" : "InstallPath", REG_SZ, folder.c_str(),
                 static_cast<DWORD>(folder.size() + 1));
        SetValue(key.Get(), "Flags", REG_DWORD, &flags, sizeof flags);
    }
    return true;
}

// The registry calls of one search by walk `w`.
CallCounts CountCalls(int w, const std::string& vendor, const char* pattern) {
    ResetFolderTables();
    CallCounter counter;
    kWalks[w].search(vendor.c_str(), pattern);
    return Calls;
}

// One size of tree and one pattern: counted run, then the timed runs. `bare`
// holds each walk's calls for the vendor key alone, without values or
// subkeys: the hives' vendor keys cost the same whatever the tree.
void MeasureCase(const std::string& vendor, int keyCount, const char* pattern, int runs,
                 const CallCounts* bare, Result* results) {
    for (int w = 0; w < kWalkCount; ++w) {
        results[w].calls = CountCalls(w, vendor, pattern) - bare[w];
        results[w].listed = Listed();
    }
    for (int run = 0; run < runs; ++run) {
        for (int turn = 0; turn < kWalkCount; ++turn) {
            int w = (run + turn) % kWalkCount;
            ResetFolderTables();
            double start = NowMs();
            kWalks[w].search(vendor.c_str(), pattern);
            results[w].ms.push_back(NowMs() - start);
        }
    }
    bool same = true;
    for (int w = 1; w < kWalkCount; ++w) same = same && results[w].listed == results[0].listed;
    printf("%6d keys, %s: %zu folders listed, %s\n", keyCount,
           pattern[0] ? "no key path matches the pattern" : "every key path matches",
           results[0].listed.size(), same ? "the same list from every walk" : "LISTS DIFFER");
    printf("  %-7s %10s %10s %8s  %s\n", "walk", "min ms", "median ms", "/ floor",
           "calls per key: all (open info values subkeys close)");
    double keys = keyCount;
    for (int w = 0; w < kWalkCount; ++w) std::sort(results[w].ms.begin(), results[w].ms.end());
    for (int w = 0; w < kWalkCount; ++w) {
        const Result& result = results[w];
        const CallCounts& calls = result.calls;
        printf("  %-7s %10.1f %10.1f %8.2f  %5.2f (%.2f %.2f %.2f %.2f %.2f)\n", kWalks[w].name,
               result.ms.front(), result.ms[result.ms.size() / 2],
               result.ms.front() / results[1].ms.front(), calls.Total() / keys, calls.open / keys,
               calls.info / keys, calls.value / keys, calls.subkey / keys, calls.close / keys);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : kDefaultRuns;
    if (runs < 1) runs = kDefaultRuns;
    printf(
        "Vendor trees of %d subkeys per key, 3 values each; %d timed runs of each walk, "
        "taking turns.\n",
        kChildren, runs);
    std::string vendor = "pastel-bench-" + std::to_string(GetCurrentProcessId());
    std::string vendorKey = "software\\" + vendor;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folders = std::string(temp) + vendor + "\\";
    CreateDirectoryA(folders.c_str(), nullptr);
    for (int i = 1; i <= kListedKeys; ++i)
        CreateDirectoryA((folders + "f" + std::to_string(i)).c_str(), nullptr);

    const int kSizes[] = {1000, 10000};
    const char* kPatterns[] = {"", "photoshop"};
    CallCounts bare[2][kWalkCount];
    RegKey().Create(HKEY_CURRENT_USER, vendorKey.c_str());
    for (int p = 0; p < 2; ++p)
        for (int w = 0; w < kWalkCount; ++w) bare[p][w] = CountCalls(w, vendor, kPatterns[p]);
    Result results[2][2][kWalkCount];
    for (int s = 0; s < 2; ++s) {
        if (!BuildTree(vendorKey, kSizes[s], folders)) {
            printf("%6d keys: the scratch tree could not be built\n", kSizes[s]);
            return 1;
        }
        for (int p = 0; p < 2; ++p)
            MeasureCase(vendor, kSizes[s], kPatterns[p], runs, bare[p], results[s][p]);
        RegDeleteTreeA(HKEY_CURRENT_USER, vendorKey.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, vendorKey.c_str());
    }
    printf("10,000 keys against 1,000, fastest runs (10 is linear):");
    for (int p = 0; p < 2; ++p)
        for (int w = 0; w < kWalkCount; ++w)
            printf("%s %s %.1f",
                   w   ? ","
                   : p ? ";  no match:"
                       : "  match:",
                   kWalks[w].name, results[1][p][w].ms.front() / results[0][p][w].ms.front());
    printf("\n");

    SetCurrentDirectoryA(temp);
    for (int i = 1; i <= kListedKeys; ++i)
        RemoveDirectoryA((folders + "f" + std::to_string(i)).c_str());
    RemoveDirectoryA(folders.c_str());
    return 0;
}
