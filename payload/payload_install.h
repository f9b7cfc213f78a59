// Installs the payload: every resource of type 3000 becomes a file in the
// destination folder, or, for a preset block, registry values. The chosen
// parts install together or not at all.
#pragma once

#include <windows.h>

#include "discovery/candidate_list.h"
#include "payload/install_failure.h"
#include "payload/preset_values.h"
#include "payload/staged_file.h"

// The folder the payload goes into, ending with a backslash. Set by the
// install command before the resources are enumerated.
extern char DestinationFolder[kPathSize];

// Records an option the user left unticked: every resource whose mapped name
// contains `name` (case-sensitive) is then passed over. A name that finds no
// free record, or does not fit one, is dropped.
void AddExclusion(const char* name);

// Frees every record of the exclusion list, before the options are recorded.
void ResetExclusions();

// Whether an entry of the exclusion list occurs in `mappedName`.
bool IsExcluded(const char* mappedName);

// The most payload resources an installation takes. The build reads this
// line (cmake/payload-digests.cmake) and refuses a setup.rc with more.
constexpr int kPayloadCapacity = 8;

// One payload resource that the installation includes.
struct PayloadItem {
    char name[MAX_PATH];  // the mapped (file) name
    const BYTE* bytes;    // the module's, valid for the program's life
    DWORD size;
    const PresetKind* preset;  // the preset kind, or null for a file
    EarlierFile earlier;       // how a file of that name that was there is kept
    bool replaced;             // the new file has taken the target's place
};

// The parts of one installation, and why it stopped, if it did.
struct InstallUnit {
    PayloadItem items[kPayloadCapacity];
    int count = 0;
    InstallFailure failure;
};

// The resource-enumeration procedure for resources of type 3000 of `module`;
// `param` is the InstallUnit being collected. A resource that no exclusion
// covers is added to the unit; nothing is written. Returns TRUE to go on;
// FALSE ends the pass when a resource cannot be read, its file's paths in
// DestinationFolder would be too long, or the unit is full (the unit's
// failure then says why).
BOOL CALLBACK InstallPayloadResource(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);

// Collects every payload resource of `module` into `unit`. Returns false,
// with the reason in the unit's failure, when a resource could not be added
// or the module has no payload. Nothing is created or written.
bool CollectPayload(HMODULE module, InstallUnit* unit);

// Installs what CollectPayload collected into DestinationFolder, which must
// exist, as one unit: first what an interrupted installation left there is
// dealt with, then every file is staged in full and the presets' earlier
// values are kept, then every file replaces its target, then the presets are
// written. On any failure every file and value goes back to what it was and
// false is returned with the reason in the unit's failure (its putBack false
// when something could not be put back, its stayed naming a file the
// installation made and could not remove). HKEY_LOCAL_MACHINE refusing the
// presets, while HKEY_CURRENT_USER takes them, still counts as success. An
// earlier file that a program has loaded stays aside under its backup name.
bool InstallPayload(InstallUnit* unit);
