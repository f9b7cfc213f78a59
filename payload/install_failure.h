#pragma once

#include <windows.h>

#include "discovery/candidate_list.h"

// What stopped an installation, for the one message the user is shown.
enum class InstallStep {
    None,
    ReadResource,     // the payload could not be found, sized or loaded
    NameTooLong,      // folder and file name do not fit a path
    TargetReadOnly,   // a read-only file of that name is in the way
    CreateTemporary,  // no temporary file could be made in the folder
    WriteTemporary,   // writing or flushing the temporary file failed
    CloseTemporary,
    MoveOverTarget,  // the finished file could not replace the target
};

struct InstallFailure {
    InstallStep step = InstallStep::None;
    DWORD error = 0;         // GetLastError() of the failed call
    char file[kPathSize]{};  // the installed file's name, or the resource's
};
