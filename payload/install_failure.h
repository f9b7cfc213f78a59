#pragma once

#include <windows.h>

#include "discovery/candidate_list.h"

// What stopped an installation, for the one message the user is shown.
enum class InstallStep {
    None,
    ReadResource,     // the program holds no payload, a part of it that cannot be
                      // loaded, or more parts than an installation takes
    NoChecksum,       // the system's SHA-256 (CNG) cannot be used to check the payload
    DamagedResource,  // a payload resource is not as the build made it
    PathTooLong,      // a path the installation needs does not fit
    OpenFolder,       // the destination could be neither entered nor created
    WriteFile,        // a new file could not be written into the folder
    ReadOnlyFile,     // the earlier file of that name is read-only
    ReplaceFile,      // the earlier file of that name could not be replaced
    WriteSettings,    // HKEY_CURRENT_USER refused the presets
};

struct InstallFailure {
    InstallStep step = InstallStep::None;
    DWORD error = 0;           // the error of the call that failed
    char file[kPathSize]{};    // the file's name, the folder, or the registry key
    bool putBack = true;       // whatever had been changed was put back
    char stayed[kPathSize]{};  // a name the installation made that it could not remove

    // Records why the installation stopped; returns false, for the caller to
    // return in turn.
    bool Stop(InstallStep why, DWORD code) {
        step = why;
        error = code;
        return false;
    }
};
