#include "app/discover_folders.h"

#include <windows.h>

#include "discovery/candidate_list.h"
#include "discovery/documented_folders.h"
#include "discovery/host_probe.h"
#include "discovery/path_text.h"
#include "discovery/vendor_search.h"

namespace {

struct VendorSearch {
    const char* vendor;
    const char* pattern;
};

// The maker's own products first, then the hosts, each in its vendor's tree.
const VendorSearch kVendorSearches[] = {
    {"vantorel", ""},       {"adobe", "photoshop"},
    {"corel", "paint"},     {"jasc", "paint"},
    {"xara", "xarax"},      {"computerinsel", "photoline"},
    {"serif", "photoplus"}, {"mediachance", "photo-brush"},
};

struct HostProbe {
    HKEY root;
    const char* keyPath;
    const char* subkey;
    const char* name;  // joined onto the program's folder
    // Reads the settings file `name` for the folder it names; without it,
    // `name` is the folder.
    void (*scan)(const char* filePath) = nullptr;
};

const HostProbe kHostProbes[] = {
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", "fireworks.exe",
     "plug-ins"},
    {HKEY_CLASSES_ROOT, "PI3.Image", "shell\\open\\command", "plugin"},
    {HKEY_CLASSES_ROOT, "PainterFile", "shell\\open\\command", "painter.set",
     ScanHostSettingsFile},
};

}  // namespace

void DiscoverFolders(char* pathBuffer) {
    for (const VendorSearch& search : kVendorSearches)
        SearchVendorKey("software", search.vendor, search.pattern);
    for (const HostProbe& probe : kHostProbes) {
        if (!ProbeHostFolder(probe.root, probe.keyPath, probe.subkey, pathBuffer)) continue;
        if (!JoinPath(pathBuffer, kPathSize, probe.name)) continue;
        if (probe.scan)
            probe.scan(pathBuffer);
        else
            AddCandidateFolder(pathBuffer);
    }
    ProbeDocumentedFolders(pathBuffer);
}
