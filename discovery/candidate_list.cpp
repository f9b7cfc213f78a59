#include "discovery/candidate_list.h"

#include <string.h>
#include <windows.h>

#include "common/bounded_text.h"
#include "discovery/path_text.h"

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

void AddCandidateFolder(char* path) {
    if (!ProbeFolder(path)) return;
    _strlwr(path);
    // The plug-in goes into a folder of its own maker: a folder found inside
    // one (or any folder whose name starts alike) stands for the folder
    // holding it. Only the first occurrence counts.
    char* maker = strstr(path, "vant");
    if (maker && maker > path && maker[-1] == '\\') *maker = '\0';
    // This host takes plug-ins from its folder itself, not from a folder of
    // the maker inside it.
    bool offerAsIs = strstr(path, "igrafx") != nullptr;
    if (!AddTrailingBackslash(path, kPathSize)) return;
    TitleCasePath(path);

    for (CandidateFolder& candidate : CandidateList) {
        if (candidate.path[0] == '\0') {
            CopyText(candidate.path, path);
            if (offerAsIs) candidate.flag = 0;
            return;
        }
        if (strcmp(candidate.path, path) == 0) return;
    }
}
