#include "payload/staged_file.h"

#include "common/bounded_text.h"
#include "common/code_page_text.h"
#include "common/handles.h"

const char kStagedSuffix[] = ".pcs-new";
const char kBackupSuffix[] = ".pcs-old";

namespace {

constexpr int kSuffixLength = sizeof kStagedSuffix - 1;
static_assert(sizeof kBackupSuffix == sizeof kStagedSuffix, "both suffixes are checked as one");

constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// A path of the file `name` in `folder`, with an optional suffix. FitsFolder
// has made sure that it fits.
struct FilePath {
    FilePath(const char* folder, const char* name, const char* suffix = "") {
        CopyText(text, folder);
        AppendText(text, name);
        AppendText(text, suffix);
    }
    char text[kPathSize];
};

// Removes a file, or a link itself (never what it points to): DeleteFile
// takes files and file links, RemoveDirectory empty folders and junctions.
void RemoveName(const char* path) {
    if (!DeleteFileA(path)) RemoveDirectoryA(path);
}

bool WriteAll(HANDLE file, const BYTE* bytes, DWORD size) {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, size, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return FlushFileBuffers(file) != FALSE;
}

// Whether another program holds `target` so that it cannot be replaced: it
// then refuses to share deletion, and the platform's answer names the cause.
DWORD InUseError(const char* target) {
    KernelHandle probe(CreateFileA(target, DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return probe ? ERROR_SUCCESS : GetLastError();
}

}  // namespace

bool FitsFolder(const char* folder, const char* name) {
    return SystemLength(folder) + SystemLength(name) + kSuffixLength < MAX_PATH;
}

void RecoverLeftovers(const char* folder, const char* name) {
    FilePath target(folder, name);
    FilePath backup(folder, name, kBackupSuffix);
    // Only a plain file goes back; a link planted under the name is removed.
    DWORD kept = GetFileAttributesA(backup.text);
    if (kept != INVALID_FILE_ATTRIBUTES &&
        !(kept & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
        GetFileAttributesA(target.text) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
        MoveFileExA(backup.text, target.text, MOVEFILE_WRITE_THROUGH);
    RemoveLeftovers(folder, name);
}

void RemoveLeftovers(const char* folder, const char* name) {
    RemoveName(FilePath(folder, name, kStagedSuffix).text);
    RemoveName(FilePath(folder, name, kBackupSuffix).text);
}

bool StageFile(const char* folder, const char* name, const void* bytes, DWORD size,
               InstallFailure* failure) {
    FilePath staged(folder, name, kStagedSuffix);
    // CREATE_NEW: whatever still stands at the name, a link included, makes
    // this fail rather than be written through.
    KernelHandle file(CreateFileA(staged.text, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return failure->Stop(InstallStep::WriteFile, GetLastError());
    if (WriteAll(file.Get(), static_cast<const BYTE*>(bytes), size) && file.Close()) return true;
    DWORD error = GetLastError();
    file.Reset();
    DeleteFileA(staged.text);
    return failure->Stop(InstallStep::WriteFile, error);
}

bool ReplaceWithStaged(const char* folder, const char* name, bool* existed,
                       InstallFailure* failure) {
    FilePath target(folder, name);
    FilePath staged(folder, name, kStagedSuffix);
    FilePath backup(folder, name, kBackupSuffix);

    DWORD attributes = GetFileAttributesA(target.text);
    DWORD lookup = GetLastError();
    *existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!*existed && lookup != ERROR_FILE_NOT_FOUND)
        return failure->Stop(InstallStep::ReplaceFile, lookup);
    if (*existed) {
        // Windows refuses to move over a read-only file, some platforms do
        // not: a file the user protected is never replaced.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return failure->Stop(InstallStep::ReadOnlyFile, ERROR_ACCESS_DENIED);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return failure->Stop(InstallStep::ReplaceFile, ERROR_DIRECTORY);
        if (DWORD error = InUseError(target.text))
            return failure->Stop(InstallStep::ReplaceFile, error);
        // A hard link keeps the earlier file whole at no cost; a volume
        // without hard links gets a copy, made only as a new file.
        if (!CreateHardLinkA(backup.text, target.text, nullptr) &&
            !CopyFileA(target.text, backup.text, TRUE))
            return failure->Stop(InstallStep::ReplaceFile, GetLastError());
    }
    // Without an earlier file there is nothing to replace: a file that
    // appeared meanwhile makes the move fail rather than be lost.
    if (!MoveFileExA(staged.text, target.text, *existed ? kMoveFlags : MOVEFILE_WRITE_THROUGH))
        return failure->Stop(InstallStep::ReplaceFile, GetLastError());
    return true;
}

bool PutBack(const char* folder, const char* name, bool existed) {
    FilePath target(folder, name);
    if (!existed) return DeleteFileA(target.text) != FALSE;
    return MoveFileExA(FilePath(folder, name, kBackupSuffix).text, target.text, kMoveFlags) !=
           FALSE;
}
