// The faults an installation meets, made real, and the state it must leave
// behind: shared by the payload and the install dialog tests.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/handles.h"
#include "payload/install_failure.h"
#include "support/test_support.h"

extern const char kPresetKey[];  // Software\Vantorel\PastelCraft

// What an installation into `folder` may change, comparable: every file
// there (so leftovers show) by name with its size and a digest of its bytes,
// and the preset key's values in both hives, or the key's absence.
std::map<std::string, std::string> InstallState(const std::string& folder);

// Earlier versions of the plug-in and the texture, unlike the payload's.
void WriteEarlierFiles(const std::string& folder);

enum class InstallFault {
    PlugInHeld,         // another program holds the plug-in without sharing
    TextureHeld,        // ... the texture, sharing reading only
    TextureReadOnly,    // the earlier texture is read-only
    UserKeyRefused,     // HKEY_CURRENT_USER's preset key may not be changed
    MachineKeyRefused,  // HKEY_LOCAL_MACHINE's alone: still a success
    DiskFull,           // room for the plug-in, not for the texture
    StagedHeld,         // each new staged file is held for 300 ms, sharing reading
    PlugInLoaded,       // a running program has a real DLL at the plug-in's name loaded
    LoadedAndHeld,      // ... moved aside by an installation since, a later plug-in in
                        // its place; and the texture held, sharing nothing
    LoadedAsideHeld,    // ... the same, but that later plug-in held, sharing reading
};

// What an installation reports for each fault: the step and error, the file
// or key named, and the cause its message gives. The machine's hive alone
// refusing is no failure: step None, nothing named.
struct FaultReport {
    InstallFault fault;
    InstallStep step;
    DWORD error;
    const char* named;
    const char* cause;
};
extern const FaultReport kFaultReports[9];

// A fresh folder holding the earlier files, where `fault` can be made: for
// DiskFull on a drive small enough to fill (CTest mounts one where it can,
// see cmake/small-drive.sh). Null when there is none: the table's test then
// ends with GTEST_SKIP() << kNoSmallDrive, once its other rows have run.
std::unique_ptr<TempFolder> FolderFor(InstallFault fault);
extern const char kNoSmallDrive[];

// Makes `fault` real for an installation into `folder`, which holds the
// earlier files; released when the object goes. For DiskFull a filler file
// fills the folder's drive until then; a refused key gets a DACL that lets
// everyone read it but nobody change it, and its earlier DACL back; a holder
// of staged files is a thread, the program with the DLL loaded a process.
class ArrangedFault {
  public:
    ArrangedFault(InstallFault fault, const std::string& folder);
    ~ArrangedFault();
    ArrangedFault(const ArrangedFault&) = delete;
    ArrangedFault& operator=(const ArrangedFault&) = delete;

  private:
    KernelHandle held_;
    std::string readOnlyFile_;
    std::string filler_;
    RegKey key_;
    std::vector<BYTE> keyDacl_;
    std::unique_ptr<ChildProcess> editor_;
    std::atomic<bool> stop_{false};
    std::thread holder_;
};
