// Installs the payload: every resource of type 3000 becomes a file in the
// destination folder, or, for a preset block, registry values.
#pragma once

#include <windows.h>

#include "discovery/candidate_list.h"
#include "payload/install_failure.h"

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

// The resource-enumeration procedure for resources of type 3000 of `module`.
// `param` is null or an InstallFailure that receives the reason of a stop.
// Returns TRUE to go on with the next resource; FALSE ends the pass when a
// resource cannot be read or its file cannot be written completely (the
// folder then holds any earlier file of that name unchanged).
BOOL CALLBACK InstallPayloadResource(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);

// Runs InstallPayloadResource over every payload resource of `module`.
// Returns true when everything was installed; otherwise `failure` says why.
bool InstallPayload(HMODULE module, InstallFailure* failure);
