#include "discovery/documented_folders.h"

#include <windows.h>

#include <shlobj.h>

#include "discovery/candidate_list.h"
#include "discovery/gimp_settings.h"
#include "discovery/path_text.h"
#include "discovery/psfilterpdn_settings.h"
#include "discovery/registry_read.h"

namespace {

// Which plug-ins an editor loads: a folder is offered only by a build whose
// plug-in its editor can load.
enum : unsigned char { kLoads32 = 1, kLoads64 = 2, kLoadsBoth = kLoads32 | kLoads64 };
constexpr unsigned char kThisBuild = sizeof(void*) == 8 ? kLoads64 : kLoads32;

// One editor: its plug-in folder `name` below a system folder, or below the
// folder that a string value of its HKEY_LOCAL_MACHINE key names; or there
// its settings file `name`, which `scan` reads for the folders it names.
struct DocumentedFolder {
    int systemFolder;  // CSIDL_*, when no key is given
    const char* key;
    const char* value;
    const char* name;
    unsigned char loads;
    void (*scan)(char* path) = nullptr;
    // Which path of the system folder is asked for: the user's own (it may
    // have been moved), or the default, for a folder that cannot be moved.
    DWORD pathType = SHGFP_TYPE_CURRENT;
};

const DocumentedFolder kDocumentedFolders[] = {
    // Photoshop CC's folder for every installed version, kept across updates.
    // Each build has a Common Files folder of its own bitness.
    {CSIDL_PROGRAM_FILES_COMMON, nullptr, nullptr, "Adobe\\Plug-Ins\\CC", kLoadsBoth},
    // Paint.NET's filter host loads from here and the folders below; it runs
    // 32-bit filters beside 64-bit ones.
    {0, "SOFTWARE\\Paint.NET", "TARGETDIR", "Effects", kLoadsBoth},
    // Affinity Photo 1. Every Affinity version loads 64-bit plug-ins only.
    {CSIDL_COMMON_APPDATA, nullptr, nullptr, "Affinity\\Photo\\1.0\\Plugins", kLoads64},
    // The folders Paint.NET's filter host searches besides Effects.
    {CSIDL_PERSONAL, nullptr, nullptr, "paint.net User Files\\PSFilterPdn.xml", kLoadsBoth,
     ScanPsFilterPdnSettings},
    // GIMP 2.10's filter host keeps its folders in the user's settings.
    {CSIDL_APPDATA, nullptr, nullptr, "GIMP\\2.10\\gimprc", kLoadsBoth, ScanGimpPspiPath},
    // The default folders that Affinity Photo 2 and Affinity 3 open.
    {CSIDL_APPDATA, nullptr, nullptr, "Affinity\\Photo\\2.0\\Plugins", kLoads64},
    // A profile folder cannot be moved, so its default path is its path;
    // asked for the current one, Wine's shell loads COM before the dialog.
    {CSIDL_PROFILE, nullptr, nullptr, ".affinity\\Affinity\\3.0\\Plugins", kLoads64, nullptr,
     SHGFP_TYPE_DEFAULT},
    // Paint.NET from the Store keeps its effects in the user's documents.
    {CSIDL_PERSONAL, nullptr, nullptr, "paint.net App Files\\Effects", kLoadsBoth},
};

}  // namespace

void ProbeDocumentedFolders(char* folder) {
    for (const DocumentedFolder& editor : kDocumentedFolders) {
        if (!(editor.loads & kThisBuild)) continue;
        bool found = editor.key ? ReadStringValue(HKEY_LOCAL_MACHINE, editor.key, editor.value,
                                                  folder) == ERROR_SUCCESS
                                : SHGetFolderPathA(nullptr, editor.systemFolder, nullptr,
                                                   editor.pathType, folder) == S_OK;
        // Only a drive path, never one taken from the current directory.
        if (!found || folder[0] == '\0' || folder[1] != ':' ||
            !JoinPath(folder, kPathSize, editor.name))
            continue;
        // A settings file is read for the folders it names. A folder is
        // entered here because AddCandidateFolder would settle for a folder
        // above a missing one; once entered, it takes this one.
        if (editor.scan)
            editor.scan(folder);
        else if (SetCurrentDirectoryA(folder))
            AddCandidateFolder(folder);
    }
}
