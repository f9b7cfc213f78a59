#include "payload/staged_file.h"

#include "common/bounded_text.h"
#include "common/code_page_text.h"
#include "common/handles.h"

const char kStagedSuffix[] = ".pcs-new";
const char kBackupSuffix[] = ".pcs-old";
const char kSpareSuffix[] = ".pcs-bak";

namespace {

constexpr int kSuffixLength = sizeof kStagedSuffix - 1;
static_assert(sizeof kBackupSuffix == sizeof kStagedSuffix &&
                  sizeof kSpareSuffix == sizeof kStagedSuffix,
              "the suffixes are checked as one");

constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The wait for a short hold: pauses that double from the first, about 2 s
// in all.
constexpr DWORD kFirstPause = 16;
constexpr DWORD kHoldBudget = 2000;

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

// The errors with which a call meets another program that holds a file for
// a moment.
bool IsShortHold(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

// Runs `call` (returning success, with the platform's last error on failure)
// until it succeeds or fails otherwise than by a short hold, or the wait is
// over; the wait cursor shows while it waits. Leaves the last failure's error.
template <typename Call>
bool Retried(Call call) {
    DWORD waited = 0, pause = kFirstPause, error = 0;
    HCURSOR previous = nullptr;
    bool done;
    while (!(done = call())) {
        error = GetLastError();
        if (!IsShortHold(error) || waited >= kHoldBudget) break;
        if (waited == 0) previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        Sleep(pause);
        waited += pause;
        pause = pause * 2 < kHoldBudget - waited ? pause * 2 : kHoldBudget - waited;
    }
    if (waited > 0) SetCursor(previous);
    if (!done) SetLastError(error);
    return done;
}

// How another program holds `path`: ERROR_SUCCESS when it can be renamed,
// otherwise the platform's answer (a program that holds it open refuses to
// share deletion). `loaded` tells whether a program has it loaded as an
// image: that holds no handle, but refuses every opening for writing.
DWORD HoldOn(const char* path, bool* loaded) {
    *loaded = false;
    KernelHandle forDelete(CreateFileA(path, DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!forDelete) return GetLastError();
    KernelHandle forWrite(CreateFileA(path, FILE_WRITE_DATA, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    *loaded = !forWrite && GetLastError() == ERROR_SHARING_VIOLATION;
    return ERROR_SUCCESS;
}

// Whether nothing stands at `path`.
bool IsFree(const char* path) {
    return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES &&
           GetLastError() == ERROR_FILE_NOT_FOUND;
}

// Removes a file, or a link itself (never what it points to): DeleteFile
// takes files and file links, RemoveDirectory empty folders and junctions.
// True when nothing stands at `path` any more.
bool RemoveNameOnce(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(path) != FALSE
                                                   : DeleteFileA(path) != FALSE;
}

// Removes what stands at `path`, waiting out a short hold, but not for a
// program that has the file loaded: it goes only once that program has ended.
// False when a hold outlasted the wait.
bool RemoveName(const char* path) {
    bool loaded;
    if (RemoveNameOnce(path) || (HoldOn(path, &loaded) == ERROR_SUCCESS && loaded)) return true;
    return Retried([&] { return RemoveNameOnce(path); });
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

bool Move(const char* from, const char* to, DWORD flags) {
    return Retried([&] { return MoveFileExA(from, to, flags) != FALSE; });
}

}  // namespace

bool FitsFolder(const char* folder, const char* name) {
    return SystemLength(folder) + SystemLength(name) + kSuffixLength < MAX_PATH;
}

void RecoverLeftovers(const char* folder, const char* name) {
    FilePath target(folder, name);
    // Only a plain file goes back; a link planted under the name is removed.
    // A target goes missing only while it is moved aside to the backup name.
    if (IsFree(target.text)) {
        for (const char* suffix : {kBackupSuffix, kSpareSuffix}) {
            FilePath backup(folder, name, suffix);
            DWORD kept = GetFileAttributesA(backup.text);
            if (kept != INVALID_FILE_ATTRIBUTES &&
                !(kept & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
                Move(backup.text, target.text, MOVEFILE_WRITE_THROUGH))
                break;
        }
    }
    RemoveLeftovers(folder, name);
}

bool RemoveLeftovers(const char* folder, const char* name, char* stayed) {
    bool removed = true;
    for (const char* suffix : {kStagedSuffix, kBackupSuffix, kSpareSuffix}) {
        if (RemoveName(FilePath(folder, name, suffix).text)) continue;
        if (removed && stayed && !stayed[0]) {
            CopyText(stayed, kPathSize, name);
            AppendText(stayed, kPathSize, suffix);
        }
        removed = false;
    }
    return removed;
}

bool StageFile(const char* folder, const char* name, const void* bytes, DWORD size,
               InstallFailure* failure) {
    FilePath staged(folder, name, kStagedSuffix);
    // CREATE_NEW: whatever still stands at the name, a link included, makes
    // this fail rather than be written through.
    KernelHandle file;
    Retried([&] {
        file.Reset(CreateFileA(staged.text, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        return static_cast<bool>(file);
    });
    if (!file) return failure->Stop(InstallStep::WriteFile, GetLastError());
    if (WriteAll(file.Get(), static_cast<const BYTE*>(bytes), size) && file.Close()) return true;
    DWORD error = GetLastError();
    file.Reset();
    RemoveName(staged.text);
    return failure->Stop(InstallStep::WriteFile, error);
}

bool ReplaceWithStaged(const char* folder, const char* name, EarlierFile* earlier,
                       InstallFailure* failure) {
    FilePath target(folder, name);
    FilePath staged(folder, name, kStagedSuffix);
    *earlier = EarlierFile{};

    DWORD attributes = GetFileAttributesA(target.text);
    earlier->existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!earlier->existed && GetLastError() != ERROR_FILE_NOT_FOUND)
        return failure->Stop(InstallStep::ReplaceFile, GetLastError());
    if (earlier->existed) {
        // Windows refuses to move over a read-only file, some platforms do
        // not: a file the user protected is never replaced.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return failure->Stop(InstallStep::ReadOnlyFile, ERROR_ACCESS_DENIED);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return failure->Stop(InstallStep::ReplaceFile, ERROR_DIRECTORY);
        // The way is chosen before any link is made: a link to a loaded
        // file could not be removed again.
        DWORD held = ERROR_SUCCESS;
        bool loaded = false;
        Retried([&] {
            held = HoldOn(target.text, &loaded);
            SetLastError(held);
            return held == ERROR_SUCCESS;
        });
        if (held != ERROR_SUCCESS) return failure->Stop(InstallStep::ReplaceFile, held);
        // The backup name may still be taken by a file moved aside earlier
        // that a program has loaded: a link goes to the spare name then, but
        // a loaded file only ever moves to the backup name, so that the next
        // installation knows which file to put back.
        FilePath backup(folder, name, kBackupSuffix);
        earlier->movedAside = loaded;
        if (!loaded && !IsFree(backup.text)) {
            earlier->suffix = kSpareSuffix;
            backup = FilePath(folder, name, kSpareSuffix);
        }
        if (!IsFree(backup.text))
            return failure->Stop(InstallStep::ReplaceFile, ERROR_ACCESS_DENIED);
        if (loaded) {
            if (!Move(target.text, backup.text, MOVEFILE_WRITE_THROUGH))
                return failure->Stop(InstallStep::ReplaceFile, GetLastError());
            if (Move(staged.text, target.text, MOVEFILE_WRITE_THROUGH)) return true;
            DWORD error = GetLastError();
            failure->putBack = Move(backup.text, target.text, MOVEFILE_WRITE_THROUGH);
            return failure->Stop(InstallStep::ReplaceFile, error);
        }
        // A hard link keeps the earlier file whole at no cost; a volume
        // without hard links gets a copy, made only as a new file.
        if (!CreateHardLinkA(backup.text, target.text, nullptr) &&
            !CopyFileA(target.text, backup.text, TRUE))
            return failure->Stop(InstallStep::ReplaceFile, GetLastError());
    }
    // Without an earlier file there is nothing to replace: a file that
    // appeared meanwhile makes the move fail rather than be lost.
    if (!Move(staged.text, target.text, earlier->existed ? kMoveFlags : MOVEFILE_WRITE_THROUGH))
        return failure->Stop(InstallStep::ReplaceFile, GetLastError());
    return true;
}

bool PutBack(const char* folder, const char* name, const EarlierFile& earlier) {
    FilePath target(folder, name);
    if (!earlier.existed) return Retried([&] { return DeleteFileA(target.text) != FALSE; });
    // A file moved aside goes back over the new one just as a link does:
    // renaming a loaded file is allowed.
    return Move(FilePath(folder, name, earlier.suffix).text, target.text, kMoveFlags);
}

void ScheduleRemoval(const char* folder, const char* name, const EarlierFile& earlier) {
    FilePath aside(folder, name, earlier.suffix);
    if (earlier.movedAside && !IsFree(aside.text))
        MoveFileExA(aside.text, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
