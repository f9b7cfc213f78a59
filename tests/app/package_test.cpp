// setup.exe as Windows sees it before running it: elevation, supported
// systems, no common controls 6, its version information and its icon.
#include <gtest/gtest.h>

#include <stdio.h>

#include <iterator>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "setup_version.h"
#include "support/test_support.h"

namespace {

std::string SetupExe() {
    return OwnFolder() + "setup.exe";
}

// The bytes of one resource of the built setup.exe; empty when missing.
std::string SetupResource(LPCSTR name, LPCSTR type) {
    HMODULE setup = LoadLibraryExA(SetupExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!setup) return "";
    std::string bytes;
    if (HRSRC resource = FindResourceA(setup, name, type)) {
        const char* data = static_cast<const char*>(LockResource(LoadResource(setup, resource)));
        bytes.assign(data, SizeofResource(setup, resource));
    }
    FreeLibrary(setup);
    return bytes;
}

TEST(Package, ManifestAsksForTheHighestAvailableLevelAndNoCommonControls6) {
    std::string manifest = SetupResource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_FALSE(manifest.empty());

    EXPECT_NE(std::string::npos, manifest.find("level=\"highestAvailable\""));
    EXPECT_EQ(std::string::npos, manifest.find("requireAdministrator"));
    // That library would be loaded before the dialog shows, delaying it.
    EXPECT_EQ(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    // The program's own identity carries the product's version.
    EXPECT_NE(std::string::npos,
              manifest.find("Setup\" version=\"" + std::string(SETUP_VERSION_TEXT) + "\""));
    // Windows 7 and Windows 10/11.
    EXPECT_NE(std::string::npos, manifest.find("35138b9a-5d96-4fbd-8e2d-a2440225f93a"));
    EXPECT_NE(std::string::npos, manifest.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"));
}

std::string VersionText(const std::vector<BYTE>& info, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || !length) return "";
    return static_cast<const char*>(value);
}

// The version is given once, in the build; the texts and the numbers agree.
TEST(Package, VersionInformationNamesProductMakerAndOneVersion) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(SetupExe().c_str(), &handle);
    ASSERT_NE(0u, size);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(SetupExe().c_str(), 0, size, info.data()));

    EXPECT_EQ("Pastel Craft Plug-in Setup", VersionText(info, "ProductName"));
    EXPECT_EQ("Pastel Craft Plug-in Setup", VersionText(info, "FileDescription"));
    EXPECT_EQ("Vantorel", VersionText(info, "CompanyName"));
    EXPECT_EQ(SETUP_VERSION_TEXT, VersionText(info, "FileVersion"));
    EXPECT_EQ(SETUP_VERSION_TEXT, VersionText(info, "ProductVersion"));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    char numbers[64];
    snprintf(numbers, sizeof numbers, "%lu.%lu.%lu.%lu", fixed->dwFileVersionMS >> 16,
             fixed->dwFileVersionMS & 0xFFFF, fixed->dwFileVersionLS >> 16,
             fixed->dwFileVersionLS & 0xFFFF);
    EXPECT_STREQ(SETUP_VERSION_TEXT, numbers);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// Every frame the shell picks from, the 256-pixel one for large views in
// Explorer PNG-compressed; each loads as an icon.
TEST(Package, IconHoldsEveryFrameTheShellPicksFrom) {
    const struct {
        int size;
        bool png;
    } frames[] = {{16, false}, {24, false}, {32, false}, {48, false}, {256, true}};
    std::string group = SetupResource(MAKEINTRESOURCEA(IDI_SETUP), RT_GROUP_ICON);
    ASSERT_LE(6u, group.size());
    WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(6u + count * sizeof(IconDirEntry), group.size());
    ASSERT_EQ(std::size(frames), count);
    const auto* entries = reinterpret_cast<const IconDirEntry*>(group.data() + 6);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(frames[i].size);
        EXPECT_EQ(frames[i].size % 256, entries[i].width);
        EXPECT_EQ(32, entries[i].bitCount);
        std::string image = SetupResource(MAKEINTRESOURCEA(entries[i].id), RT_ICON);
        ASSERT_EQ(entries[i].bytes, image.size());
        EXPECT_EQ(frames[i].png, image.compare(0, 4, "\x89PNG") == 0);

        HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image[0]),
                                              static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                              frames[i].size, frames[i].size, LR_DEFAULTCOLOR);
        EXPECT_NE(nullptr, icon);
        DestroyIcon(icon);
    }
}

}  // namespace
