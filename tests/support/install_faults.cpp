#include "support/install_faults.h"

#include <gtest/gtest.h>

#include <sddl.h>
#include <stdlib.h>

#include <set>

#include "support/test_support.h"

const char kPresetKey[] = "Software\\Vantorel\\PastelCraft";

namespace {

const char kPlugIn[] = "PastelCraft3.8bf";
const char kTexture[] = "Strokes.8tx";

// Size and FNV-1a digest: a mismatch prints a line, not megabytes.
std::string Digest(const std::vector<char>& bytes) {
    unsigned long long hash = 14695981039346656037ull;
    for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return std::to_string(bytes.size()) + ":" + std::to_string(hash);
}

}  // namespace

const FaultReport kFaultReports[9] = {
    {InstallFault::PlugInHeld, InstallStep::ReplaceFile, ERROR_SHARING_VIOLATION, kPlugIn,
     "in use by another program"},
    {InstallFault::TextureHeld, InstallStep::ReplaceFile, ERROR_SHARING_VIOLATION, kTexture,
     "in use by another program"},
    {InstallFault::TextureReadOnly, InstallStep::ReadOnlyFile, ERROR_ACCESS_DENIED, kTexture,
     "The file is read-only"},
    {InstallFault::UserKeyRefused, InstallStep::WriteSettings, ERROR_ACCESS_DENIED,
     "HKEY_CURRENT_USER\\Software\\Vantorel\\PastelCraft", "Windows refused to store them"},
    {InstallFault::DiskFull, InstallStep::WriteFile, ERROR_DISK_FULL, kTexture, "The disk is full"},
    {InstallFault::MachineKeyRefused, InstallStep::None, 0, nullptr, nullptr},
    {InstallFault::StagedHeld, InstallStep::None, 0, nullptr, nullptr},
    {InstallFault::LoadedAndHeld, InstallStep::ReplaceFile, ERROR_SHARING_VIOLATION, kTexture,
     "in use by another program, probably Pastel Host Editor, which has"},
    // The editor's module still goes by the plug-in's path, but is not the file there.
    {InstallFault::LoadedAsideHeld, InstallStep::ReplaceFile, ERROR_SHARING_VIOLATION, kPlugIn,
     "in use by another program, probably Pastel Host Editor, which has"},
};

std::map<std::string, std::string> InstallState(const std::string& folder) {
    std::map<std::string, std::string> state;
    for (const std::string& name : FolderNames(folder))
        state[name] = Digest(ReadWholeFile(folder + name));
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        std::string hive = root == HKEY_CURRENT_USER ? "HKCU" : "HKLM";
        state[hive] = KeyExists(root, kPresetKey) ? "key" : "no key";
        for (int k = 1; k <= 12; ++k) {
            std::string name = (k < 10 ? "Portrait0" : "Portrait") + std::to_string(k);
            std::vector<BYTE> data;
            if (ReadBinaryValue(root, kPresetKey, name, &data))
                state[hive + "\\" + name] = Digest(std::vector<char>(data.begin(), data.end()));
        }
    }
    return state;
}

void WriteEarlierFiles(const std::string& folder) {
    WriteWholeFile(folder + kPlugIn, std::vector<char>(3000, 'p'));
    WriteWholeFile(folder + kTexture, std::vector<char>(5000, 't'));
}

const char kNoSmallDrive[] =
    "no small drive S: (mounting it needs root, see cmake/small-drive.sh): the full-disk row "
    "was not tried; the table's other rows ran";

std::unique_ptr<TempFolder> FolderFor(InstallFault fault) {
    std::string base;
    if (fault == InstallFault::DiskFull) {
        const char* drive = getenv("SMALL_DRIVE");
        base = drive ? std::string(drive) + "\\" : "";
        ULARGE_INTEGER free;
        if (!drive || !GetDiskFreeSpaceExA(base.c_str(), &free, nullptr, nullptr)) return nullptr;
    }
    std::unique_ptr<TempFolder> folder(new TempFolder(base));
    WriteEarlierFiles(folder->Path());
    return folder;
}

ArrangedFault::ArrangedFault(InstallFault fault, const std::string& folder) {
    switch (fault) {
    case InstallFault::PlugInHeld:
        held_.Reset(CreateFileA((folder + kPlugIn).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                0, nullptr));
        EXPECT_TRUE(held_);
        break;
    case InstallFault::TextureHeld:
        held_.Reset(CreateFileA((folder + kTexture).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(held_);
        break;
    case InstallFault::TextureReadOnly:
        readOnlyFile_ = folder + kTexture;
        SetFileAttributesA(readOnlyFile_.c_str(), FILE_ATTRIBUTE_READONLY);
        break;
    case InstallFault::UserKeyRefused:
    case InstallFault::MachineKeyRefused: {
        HKEY root = fault == InstallFault::UserKeyRefused ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        SetBinaryValue(root, kPresetKey, "Portrait01", {1, 2, 3});
        EXPECT_EQ(ERROR_SUCCESS, key_.Open(root, kPresetKey, READ_CONTROL | WRITE_DAC));
        DWORD size = 0;
        RegGetKeySecurity(key_.Get(), DACL_SECURITY_INFORMATION, nullptr, &size);
        keyDacl_.resize(size);
        EXPECT_EQ(ERROR_SUCCESS,
                  RegGetKeySecurity(key_.Get(), DACL_SECURITY_INFORMATION, keyDacl_.data(), &size));
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1,
                                                             &readOnly, nullptr);
        EXPECT_EQ(ERROR_SUCCESS,
                  RegSetKeySecurity(key_.Get(), DACL_SECURITY_INFORMATION, readOnly));
        LocalFree(readOnly);
        break;
    }
    case InstallFault::DiskFull: {
        // Room for the staged plug-in and a little more, not for the texture.
        ULARGE_INTEGER free{};
        GetDiskFreeSpaceExA(folder.c_str(), &free, nullptr, nullptr);
        ULONGLONG keep = PayloadBytes("PASTEL__CRAFT3.8BF").size() + 128 * 1024;
        EXPECT_GT(free.QuadPart, keep + PayloadBytes("STROKES.8TX").size());
        filler_ = folder + "filler";
        if (free.QuadPart > keep) WriteWholeFile(filler_, std::vector<char>(free.QuadPart - keep));
        break;
    }
    case InstallFault::StagedHeld:
        // As a virus scanner does, once each new file has been closed.
        holder_ = std::thread([this, folder] {
            std::set<std::string> seen;
            while (!stop_) {
                for (const std::string& name : FolderNames(folder)) {
                    if (name.find(".pcs-new") == std::string::npos || seen.count(name)) continue;
                    KernelHandle file(CreateFileA((folder + name).c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                                  nullptr));
                    if (!file) continue;
                    seen.insert(name);
                    Sleep(300);
                }
                Sleep(1);
            }
        });
        break;
    case InstallFault::PlugInLoaded:
    case InstallFault::LoadedAndHeld:
    case InstallFault::LoadedAsideHeld: {
        std::string plugIn = folder + kPlugIn;
        EXPECT_TRUE(
            CopyFileA((OwnFolder() + "editor\\editor_plugin.dll").c_str(), plugIn.c_str(), FALSE));
        editor_.reset(
            new ChildProcess("\"" + OwnFolder() + "editor\\editor_stand_in.exe\" " + plugIn));
        // Idle once it has loaded the file. (Probing the file meanwhile
        // could make the loading fail.)
        EXPECT_TRUE(editor_->WaitForIdle(10000));
        if (fault == InstallFault::PlugInLoaded) break;
        EXPECT_TRUE(MoveFileA(plugIn.c_str(), (plugIn + ".pcs-old").c_str()));
        WriteWholeFile(plugIn, std::vector<char>(3000, 'p'));
        bool plugInHeld = fault == InstallFault::LoadedAsideHeld;
        held_.Reset(CreateFileA((folder + (plugInHeld ? kPlugIn : kTexture)).c_str(), GENERIC_READ,
                                plugInHeld ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING, 0,
                                nullptr));
        EXPECT_TRUE(held_);
        break;
    }
    }
}

ArrangedFault::~ArrangedFault() {
    stop_ = true;
    if (holder_.joinable()) holder_.join();
    if (!readOnlyFile_.empty()) SetFileAttributesA(readOnlyFile_.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!filler_.empty()) DeleteFileA(filler_.c_str());
    if (key_.Get()) RegSetKeySecurity(key_.Get(), DACL_SECURITY_INFORMATION, keyDacl_.data());
}
