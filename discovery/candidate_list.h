// The folders found on this machine, and the names of unticked install
// options: two fixed tables of the same record.
#pragma once

#include <stdint.h>

constexpr int kPathSize = 400;          // path texts, NUL included
constexpr int kCandidateCapacity = 20;  // records in each table

struct CandidateFolder {
    char path[kPathSize];  // empty: the record is free
    int32_t flag;          // 1: offer with the maker's folder name appended
};

// Filled from the front, never reordered; the first free record ends a table.
extern CandidateFolder CandidateList[kCandidateCapacity];
extern CandidateFolder ExclusionList[kCandidateCapacity];

// Makes every record of both tables fresh (empty path, flag 1), as at start.
void ResetFolderTables();
