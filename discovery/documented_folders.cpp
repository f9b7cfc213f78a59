#include "discovery/documented_folders.h"

#include <windows.h>

#include <shlobj.h>

#include "discovery/candidate_list.h"
#include "discovery/gimp_settings.h"
#include "discovery/path_text.h"
#include "discovery/psfilterpdn_settings.h"
#include "discovery/registry_read.h"

namespace {

// One editor: its plug-in folder `name` below a system folder, or below the
// folder that a string value of its HKEY_LOCAL_MACHINE key names; or there
// its settings file `name`, which `scan` reads for the folders it names.
struct DocumentedFolder {
    int systemFolder;  // CSIDL_*, when no key is given
    const char* key;
    const char* value;
    const char* name;
    void (*scan)(char* path) = nullptr;
};

const DocumentedFolder kDocumentedFolders[] = {
    // Photoshop CC's folder for every installed version, kept across updates.
    {CSIDL_PROGRAM_FILES_COMMON, nullptr, nullptr, "Adobe\\Plug-Ins\\CC"},
    // Paint.NET's filter host loads from here and the folders below.
    {0, "SOFTWARE\\Paint.NET", "TARGETDIR", "Effects"},
    // Affinity Photo 1; later versions keep theirs in the user's profile.
    {CSIDL_COMMON_APPDATA, nullptr, nullptr, "Affinity\\Photo\\1.0\\Plugins"},
    // The folders Paint.NET's filter host searches besides Effects.
    {CSIDL_PERSONAL, nullptr, nullptr, "paint.net User Files\\PSFilterPdn.xml",
     ScanPsFilterPdnSettings},
    // GIMP 2.10's filter host keeps its folders in the user's settings.
    {CSIDL_APPDATA, nullptr, nullptr, "GIMP\\2.10\\gimprc", ScanGimpPspiPath},
};

}  // namespace

void ProbeDocumentedFolders(char* folder) {
    for (const DocumentedFolder& editor : kDocumentedFolders) {
        bool found = editor.key ? ReadStringValue(HKEY_LOCAL_MACHINE, editor.key, editor.value,
                                                  folder) == ERROR_SUCCESS
                                : SHGetFolderPathA(nullptr, editor.systemFolder, nullptr,
                                                   SHGFP_TYPE_CURRENT, folder) == S_OK;
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
