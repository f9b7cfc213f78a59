#include "discovery/candidate_list.h"

CandidateFolder CandidateList[kCandidateCapacity];
CandidateFolder ExclusionList[kCandidateCapacity];

void ResetFolderTables() {
    for (int i = 0; i < kCandidateCapacity; ++i) {
        CandidateList[i].path[0] = '\0';
        CandidateList[i].flag = 1;
        ExclusionList[i].path[0] = '\0';
        ExclusionList[i].flag = 1;
    }
}

namespace {
// Fresh tables before the program's entry runs.
struct FolderTablesInit {
    FolderTablesInit() { ResetFolderTables(); }
} folderTablesInit;
}  // namespace
