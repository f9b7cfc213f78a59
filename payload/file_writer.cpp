#include "payload/file_writer.h"

#include "common/bounded_text.h"
#include "common/handles.h"

namespace {

constexpr int kDestinationSize = 500;  // folder and file name, NUL included

bool Fail(InstallFailure* failure, InstallStep step, DWORD error) {
    failure->step = step;
    failure->error = error;
    return false;
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

}  // namespace

bool WriteFileReplacing(const char* folder, const char* name, const void* bytes, DWORD size,
                        InstallFailure* failure) {
    char target[kDestinationSize];
    if (!CopyText(target, folder) || !AppendText(target, name))
        return Fail(failure, InstallStep::NameTooLong, ERROR_FILENAME_EXCED_RANGE);

    // Windows refuses to move over a read-only file, some platforms do not:
    // a file the user protected is never replaced.
    DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return Fail(failure, InstallStep::TargetReadOnly, ERROR_ACCESS_DENIED);

    char temporary[MAX_PATH];
    if (GetTempFileNameA(folder, "pcs", 0, temporary) == 0)
        return Fail(failure, InstallStep::CreateTemporary, GetLastError());

    KernelHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    InstallStep step = InstallStep::None;
    if (!file)
        step = InstallStep::CreateTemporary;
    else if (!WriteAll(file.Get(), static_cast<const BYTE*>(bytes), size))
        step = InstallStep::WriteTemporary;
    else if (!file.Close())
        step = InstallStep::CloseTemporary;
    else if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        step = InstallStep::MoveOverTarget;
    if (step == InstallStep::None) return true;

    DWORD error = GetLastError();
    file.Reset();
    DeleteFileA(temporary);
    return Fail(failure, step, error);
}
