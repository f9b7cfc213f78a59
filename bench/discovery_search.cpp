// Times SearchVendorKey over scratch vendor trees of 1,000 and 10,000 keys in
// HKEY_CURRENT_USER, beside a plain walk of the same tree that keeps each key
// open while it enumerates it. Prints the figures; removes the trees.
#include <stdio.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/handles.h"
#include "discovery/candidate_list.h"
#include "discovery/vendor_search.h"

namespace {

constexpr int kChildren = 10;  // subkeys per key, filled breadth first
constexpr int kRuns = 3;       // the best run is reported

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

// Key i (from 1) hangs below key (i - 1) / kChildren, key 0 being the vendor
// key. Each has a version text, a drive path under a name that does not speak
// of plug-ins, and a number: every test but the last has to run on them.
bool BuildTree(const std::string& vendorKey, int keyCount) {
    std::vector<std::string> paths{vendorKey};
    for (int i = 1; i <= keyCount; ++i) {
        paths.push_back(paths[(i - 1) / kChildren] + "\\k" + std::to_string(i));
        RegKey key;
        if (key.Create(HKEY_CURRENT_USER, paths.back().c_str()) != ERROR_SUCCESS) return false;
        std::string folder = "C:\\Program Files\\Bench\\k" + std::to_string(i);
        DWORD flags = static_cast<DWORD>(i);
        SetValue(key.Get(), "Version", REG_SZ, "3.1", 4);
        SetValue(key.Get(), "InstallPath", REG_SZ, folder.c_str(),
                 static_cast<DWORD>(folder.size() + 1));
        SetValue(key.Get(), "Flags", REG_DWORD, &flags, sizeof flags);
    }
    return true;
}

// The least the platform needs: each key opened once, below its parent, and
// kept open while its values and subkeys are enumerated.
int PlainWalk(HKEY parent, const char* name) {
    RegKey key;
    if (key.Open(parent, name) != ERROR_SUCCESS) return 0;
    int keys = 1;
    char valueName[256];
    BYTE data[256];
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof valueName, dataSize = sizeof data, type = 0;
        LONG status =
            RegEnumValueA(key.Get(), index, valueName, &nameSize, nullptr, &type, data, &dataSize);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) break;
    }
    char subkey[256];
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof subkey;
        if (RegEnumKeyExA(key.Get(), index, subkey, &nameSize, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        keys += PlainWalk(key.Get(), subkey);
    }
    return keys;
}

template <typename Work>
double BestSeconds(Work work) {
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        double start = Now();
        work();
        double seconds = Now() - start;
        if (seconds < best) best = seconds;
    }
    return best;
}

void Measure(int keyCount) {
    std::string vendor = "pastel-bench-" + std::to_string(GetCurrentProcessId());
    std::string vendorKey = "software\\" + vendor;
    if (!BuildTree(vendorKey, keyCount)) {
        printf("%6d keys: the scratch tree could not be built\n", keyCount);
    } else {
        int walked = 0;
        double search = BestSeconds([&] { SearchVendorKey("software", vendor.c_str(), ""); });
        double unmatched =
            BestSeconds([&] { SearchVendorKey("software", vendor.c_str(), "photoshop"); });
        double plain =
            BestSeconds([&] { walked = PlainWalk(HKEY_CURRENT_USER, vendorKey.c_str()); });
        printf(
            "%6d keys: SearchVendorKey %8.1f ms (%6.1f us/key)   "
            "with a pattern no key matches %8.1f ms (%6.1f us/key)   "
            "plain walk %8.1f ms (%6.1f us/key, %d keys)   ratio %.1f\n",
            keyCount, search * 1e3, search * 1e6 / (keyCount + 1), unmatched * 1e3,
            unmatched * 1e6 / (keyCount + 1), plain * 1e3, plain * 1e6 / walked, walked,
            search / plain);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, vendorKey.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, vendorKey.c_str());
}

}  // namespace

int main() {
    printf("Vendor trees of %d subkeys per key, 3 values each; best of %d runs.\n", kChildren,
           kRuns);
    Measure(1000);
    Measure(10000);
    printf("Candidates listed: %s\n", CandidateList[0].path[0] ? "some (unexpected)" : "none");
    return 0;
}
