// One payload file on its way into the destination folder. Its bytes are
// first written in full beside the target, under the target's name and
// kStagedSuffix. Then the earlier file is kept under the name and
// kBackupSuffix and the staged file is moved over the target in one step, so
// that a file that was there is never missing; the backup goes once the whole
// installation has succeeded, or back over the target when it has not.
//
// The fixed names let the next installation clean up after one that was
// interrupted. Nothing is ever written through whatever stands at those
// names: it is removed first (a link itself, never what it points to), and
// the staged and backup files are only ever made as new files.
#pragma once

#include <windows.h>

#include "payload/install_failure.h"

extern const char kStagedSuffix[];
extern const char kBackupSuffix[];

// Whether `folder` + `name` with either suffix fits the platform's MAX_PATH
// (in the UTF-16 units it counts).
// The routines below expect it of their `folder` and `name`.
bool FitsFolder(const char* folder, const char* name);

// Deals with what an interrupted installation left for `name` in `folder`
// (ending with a backslash): a backup whose target is missing goes back over
// it, then whatever stands at the staged and backup names is removed.
void RecoverLeftovers(const char* folder, const char* name);

// Removes whatever stands at the staged and backup names of `name`.
void RemoveLeftovers(const char* folder, const char* name);

// Writes, flushes and closes `size` bytes as the staged file of `name`, which
// must not exist. On failure the staged file is removed, `failure` says why
// (step WriteFile) and false is returned.
bool StageFile(const char* folder, const char* name, const void* bytes, DWORD size,
               InstallFailure* failure);

// Moves the staged file of `name` over the target, keeping an earlier target
// as the backup (a hard link where the volume has them, a copy otherwise);
// `existed` tells whether there was one. A read-only earlier file, or one
// that another program holds, is not replaced. On failure the target is as it
// was, `failure` says why and false is returned; the staged file and any
// backup are left for RemoveLeftovers.
bool ReplaceWithStaged(const char* folder, const char* name, bool* existed,
                       InstallFailure* failure);

// Undoes ReplaceWithStaged: the backup goes back over the target, or, when
// there was no earlier file, the new target is removed. Returns false when
// that fails; the backup is then still there.
bool PutBack(const char* folder, const char* name, bool existed);
