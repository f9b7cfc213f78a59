#include "payload/payload_install.h"

#include <string.h>

#include "common/bounded_text.h"
#include "payload/file_name.h"
#include "payload/resource_bytes.h"
#include "payload/staged_file.h"
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
    InstallUnit* unit = reinterpret_cast<InstallUnit*>(param);
    InstallFailure* failure = &unit->failure;

    // Payload resources carry names; a numbered one is not ours.
    if (IS_INTRESOURCE(name)) return TRUE;

    // The mapping works on our own copy: the platform's text is not ours to
    // change, and a name too long for a file name is refused.
    char fileName[MAX_PATH];
    if (!CopyText(failure->file, name) || !CopyText(fileName, name))
        return failure->Stop(InstallStep::PathTooLong, ERROR_FILENAME_EXCED_RANGE);

    DWORD size;
    const BYTE* bytes = ResourceBytes(module, name, RT_PAYLOAD, &size);
    if (!bytes) return failure->Stop(InstallStep::ReadResource, GetLastError());

    MapPayloadFileName(fileName);
    CopyText(failure->file, fileName);
    if (IsExcluded(fileName)) return TRUE;

    // Checked before anything is created: the longest path a file needs.
    const PresetKind* preset = FindPresetKind(fileName);
    if (!preset && !FitsFolder(DestinationFolder, fileName))
        return failure->Stop(InstallStep::PathTooLong, ERROR_FILENAME_EXCED_RANGE);
    if (unit->count == kPayloadCapacity)
        return failure->Stop(InstallStep::ReadResource, ERROR_NOT_ENOUGH_MEMORY);

    PayloadItem& item = unit->items[unit->count++];
    CopyText(item.name, fileName);
    item.bytes = bytes;
    item.size = size;
    item.preset = preset;
    return TRUE;
}

bool CollectPayload(HMODULE module, InstallUnit* unit) {
    unit->count = 0;
    unit->failure = InstallFailure{};
    BOOL finished = EnumResourceNamesA(module, MAKEINTRESOURCEA(RT_PAYLOAD), InstallPayloadResource,
                                       reinterpret_cast<LONG_PTR>(unit));
    // A program without payload has nothing to install: that is no success.
    if (!finished && unit->failure.step == InstallStep::None) {
        unit->failure.Stop(InstallStep::ReadResource, GetLastError());
        CopyText(unit->failure.file, "payload");
    }
    return unit->failure.step == InstallStep::None;
}

namespace {

// Keeps every preset block of `unit` in `hive`. When the hive refuses one, it
// is put back as it was, `refused` gets that block's kind and the platform's
// status is returned.
LONG KeepPresets(const InstallUnit& unit, PresetHive* hive, const PresetKind** refused) {
    for (int i = 0; i < unit.count; ++i) {
        const PayloadItem& item = unit.items[i];
        if (!item.preset) continue;
        if (LONG status = hive->Keep(*item.preset, item.bytes, item.size)) {
            hive->Restore();
            *refused = item.preset;
            return status;
        }
    }
    return ERROR_SUCCESS;
}

bool FailSettings(InstallFailure* failure, LONG status, const PresetKind* kind) {
    CopyText(failure->file, "HKEY_CURRENT_USER\\");
    AppendText(failure->file, kind->subkey);
    return failure->Stop(InstallStep::WriteSettings, static_cast<DWORD>(status));
}

// Puts every replaced file back, newest first, and removes what the
// installation made; a name that stays is recorded in the unit's failure.
// Returns false when a file could not be put back; its backup then stays,
// for the user and for the next installation.
bool PutFilesBack(InstallUnit* unit) {
    bool putBack = true;
    for (int i = unit->count - 1; i >= 0; --i) {
        PayloadItem& item = unit->items[i];
        if (item.preset) continue;
        if (item.replaced && !PutBack(DestinationFolder, item.name, item.earlier)) {
            putBack = false;
            continue;
        }
        item.replaced = false;
        RemoveLeftovers(DestinationFolder, item.name, unit->failure.stayed);
    }
    return putBack;
}

bool StageFiles(InstallUnit* unit) {
    for (int i = 0; i < unit->count; ++i) {
        PayloadItem& item = unit->items[i];
        item.replaced = false;
        if (item.preset) continue;
        CopyText(unit->failure.file, item.name);
        if (!StageFile(DestinationFolder, item.name, item.bytes, item.size, &unit->failure)) {
            PutFilesBack(unit);
            return false;
        }
    }
    return true;
}

bool ReplaceTargets(InstallUnit* unit) {
    for (int i = 0; i < unit->count; ++i) {
        PayloadItem& item = unit->items[i];
        if (item.preset) continue;
        CopyText(unit->failure.file, item.name);
        item.replaced =
            ReplaceWithStaged(DestinationFolder, item.name, &item.earlier, &unit->failure);
        if (!item.replaced) return false;
    }
    return true;
}

}  // namespace

bool InstallPayload(InstallUnit* unit) {
    InstallFailure* failure = &unit->failure;
    *failure = InstallFailure{};
    for (int i = 0; i < unit->count; ++i)
        if (!unit->items[i].preset) RecoverLeftovers(DestinationFolder, unit->items[i].name);

    // Staging changes no target: a failure only removes the staged files.
    if (!StageFiles(unit)) return false;

    // The keys are opened, and their earlier values kept, before any target
    // is replaced: a hive that refuses is known while nothing has changed.
    // Without administrator rights the machine's hive refuses; the presets
    // then serve this user alone.
    PresetHive user(HKEY_CURRENT_USER);
    PresetHive machine(HKEY_LOCAL_MACHINE);
    const PresetKind* refused = nullptr;
    if (LONG status = KeepPresets(*unit, &user, &refused)) {
        PutFilesBack(unit);
        return FailSettings(failure, status, refused);
    }
    KeepPresets(*unit, &machine, &refused);

    // The presets come last, so that they are new only once every file is.
    bool installed = ReplaceTargets(unit);
    LONG status = installed ? user.Write(&refused) : ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) installed = FailSettings(failure, status, refused);
    if (!installed) {
        bool putBack = user.Restore();
        putBack = machine.Restore() && putBack;
        failure->putBack = PutFilesBack(unit) && putBack && failure->putBack;
        return false;
    }

    if (machine.Write(&refused) != ERROR_SUCCESS) machine.Restore();
    for (int i = 0; i < unit->count; ++i) {
        const PayloadItem& item = unit->items[i];
        if (item.preset) continue;
        RemoveLeftovers(DestinationFolder, item.name);
        ScheduleRemoval(DestinationFolder, item.name, item.earlier);
    }
    return true;
}
