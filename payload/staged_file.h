// One payload file on its way into the destination folder: written in full
// beside the target (its name and kStagedSuffix), then moved over it in one
// step while the earlier file is kept under kBackupSuffix, so that a file that
// was there is never missing. The backup goes once the whole installation has
// succeeded, or back over the target when it has not.
//
// A program that has the earlier file loaded (an image editor with the old
// plug-in) lets it be renamed but neither replaced nor removed: it is moved
// aside to the backup name instead, which stays until that program ends;
// meanwhile the next installation keeps its backup under kSpareSuffix.
//
// The fixed names let the next installation clean up after an interrupted
// one. Nothing is written through whatever stands at them: it is removed
// first (a link itself, never what it points to), and the staged and backup
// files are only ever made as new files. A short hold by another program (a
// virus scanner, an indexer) is waited out, about 2 s a step, with the wait
// cursor showing.
#pragma once

#include <windows.h>

#include "payload/install_failure.h"

extern const char kStagedSuffix[];
extern const char kBackupSuffix[];
extern const char kSpareSuffix[];

// How ReplaceWithStaged kept the earlier target, for PutBack and the clean-up.
struct EarlierFile {
    bool existed = false;                // there was an earlier target
    bool movedAside = false;             // a program has it loaded: it was renamed
    const char* suffix = kBackupSuffix;  // the name it is kept under
};

// Whether `folder` + `name` with any suffix fits MAX_PATH (in the UTF-16 units
// it counts), as the routines below expect of their `folder` and `name`.
bool FitsFolder(const char* folder, const char* name);

// Deals with what an interrupted installation left for `name` in `folder`
// (ending with a backslash): a backup whose target is missing goes back over
// it, then RemoveLeftovers.
void RecoverLeftovers(const char* folder, const char* name);

// Removes whatever stands at the staged and backup names of `name`, but for a
// file that a program has loaded. Returns false when another name stays, held
// past the wait; `stayed` (kPathSize bytes, when given) then gets the first
// such name, if it holds none yet.
bool RemoveLeftovers(const char* folder, const char* name, char* stayed = nullptr);

// Writes, flushes and closes `size` bytes as the staged file of `name`, which
// must not exist. On failure the staged file is removed, `failure` says why
// (step WriteFile) and false is returned.
bool StageFile(const char* folder, const char* name, const void* bytes, DWORD size,
               InstallFailure* failure);

// Moves the staged file of `name` over the target, keeping an earlier target
// as `earlier` says: as a hard link (a copy where the volume has none), or,
// when a program has it loaded, renamed. A read-only earlier file, or one
// that another program holds open, is not replaced. On failure the target is
// as it was (or, when a file moved aside could not go back, the failure's
// putBack is false), `failure` says why and false is returned; the staged
// file and any backup are left for RemoveLeftovers.
bool ReplaceWithStaged(const char* folder, const char* name, EarlierFile* earlier,
                       InstallFailure* failure);

// Undoes ReplaceWithStaged: the kept file goes back over the target, or, when
// there was no earlier file, the new target is removed. Returns false when
// that fails; the kept file is then still there.
bool PutBack(const char* folder, const char* name, const EarlierFile& earlier);

// Asks the system to remove the earlier file that `earlier` moved aside at the
// next restart, when it still stands. That takes administrator rights;
// without them nothing is scheduled, and the next installation removes the
// name once the program that has it loaded has ended.
void ScheduleRemoval(const char* folder, const char* name, const EarlierFile& earlier);
