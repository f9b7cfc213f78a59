#include "payload/payload_install.h"

#include <string.h>

#include "common/bounded_text.h"
#include "payload/file_name.h"
#include "payload/file_writer.h"
#include "payload/preset_values.h"
#include "res/resource_ids.h"

char DestinationFolder[kPathSize];

void AddExclusion(const char* name) {
    for (CandidateFolder& record : ExclusionList) {
        if (record.path[0] == '\0') {
            CopyText(record.path, name);
            return;
        }
    }
}

void ResetExclusions() {
    for (CandidateFolder& record : ExclusionList) record.path[0] = '\0';
}

bool IsExcluded(const char* mappedName) {
    for (const CandidateFolder& record : ExclusionList) {
        if (record.path[0] == '\0') break;
        if (strstr(mappedName, record.path)) return true;
    }
    return false;
}

BOOL CALLBACK InstallPayloadResource(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param) {
    InstallFailure unreported;
    InstallFailure* failure = param ? reinterpret_cast<InstallFailure*>(param) : &unreported;

    // Payload resources carry names; a numbered one is not ours.
    if (IS_INTRESOURCE(name)) return TRUE;

    // The mapping works on our own copy: the platform's text is not ours to
    // change, and a name too long for a file name is refused.
    char fileName[kPathSize];
    if (!CopyText(failure->file, name) || !CopyText(fileName, name)) {
        failure->step = InstallStep::NameTooLong;
        failure->error = ERROR_FILENAME_EXCED_RANGE;
        return FALSE;
    }

    HRSRC resource = FindResourceA(module, name, MAKEINTRESOURCEA(RT_PAYLOAD));
    DWORD size = resource ? SizeofResource(module, resource) : 0;
    HGLOBAL loaded = size ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        failure->step = InstallStep::ReadResource;
        failure->error = GetLastError();
        return FALSE;
    }

    MapPayloadFileName(fileName);
    CopyText(failure->file, fileName);
    if (IsExcluded(fileName)) return TRUE;

    if (const PresetKind* kind = FindPresetKind(fileName)) {
        InstallPresetBlock(*kind, static_cast<const BYTE*>(bytes), size);
        return TRUE;
    }
    return WriteFileReplacing(DestinationFolder, fileName, bytes, size, failure) ? TRUE : FALSE;
}

bool InstallPayload(HMODULE module, InstallFailure* failure) {
    failure->step = InstallStep::None;
    BOOL finished = EnumResourceNamesA(module, MAKEINTRESOURCEA(RT_PAYLOAD), InstallPayloadResource,
                                       reinterpret_cast<LONG_PTR>(failure));
    // A program without payload has nothing to install: that is no success.
    if (!finished && failure->step == InstallStep::None) {
        failure->step = InstallStep::ReadResource;
        failure->error = GetLastError();
        CopyText(failure->file, "payload");
    }
    return failure->step == InstallStep::None;
}
