// The folders found on this machine, and the names of unticked install
// options: two fixed tables of the same record.
#pragma once

#include <stdint.h>

// Paths and registry key paths hold at most 399 characters (UTF-16 units,
// as the system counts them); a buffer takes that many in any script, at up
// to three bytes each in UTF-8.
constexpr int kPathLength = 400;            // characters, NUL included
constexpr int kPathSize = 3 * kPathLength;  // bytes of a path buffer
constexpr int kCandidateCapacity = 20;      // records in each table

struct CandidateFolder {
    char path[kPathSize];  // empty: the record is free
    int32_t flag;          // 1: offer with the maker's folder name appended
};

// Filled from the front, never reordered; the first free record ends a table.
extern CandidateFolder CandidateList[kCandidateCapacity];
extern CandidateFolder ExclusionList[kCandidateCapacity];

// Makes every record of both tables fresh (empty path, flag 1), as at start.
void ResetFolderTables();

// Offers a found folder to the CandidateList. `path` is a text in a buffer of
// kPathSize bytes and is changed in place. The folder must exist, or a folder
// that the path names up to part of its last component, or its parent (see
// ProbeFolder); it is listed in canonical form: title case, ending with a
// backslash, and cut back to the folder that holds a maker's folder. A path
// containing "igrafx" is listed with flag 0. Nothing is added, and nothing
// said, when no folder exists, the folder is listed already, the canonical
// text does not fit a record, or every record is in use.
void AddCandidateFolder(char* path);
