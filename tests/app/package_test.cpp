// setup.exe as Windows sees it before running it: elevation, supported
// systems, the themed controls, and its version information.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

std::string SetupExe() {
    return OwnFolder() + "setup.exe";
}

TEST(Package, ManifestAsksForAdministratorAndTheThemedControls) {
    HMODULE setup = LoadLibraryExA(SetupExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup);
    HRSRC resource = FindResourceA(setup, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, resource);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(setup, resource)));
    std::string manifest(bytes, SizeofResource(setup, resource));
    FreeLibrary(setup);

    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\""));
    EXPECT_NE(std::string::npos,
              manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
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

TEST(Package, VersionInformationNamesProductAndMaker) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(SetupExe().c_str(), &handle);
    ASSERT_NE(0u, size);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(SetupExe().c_str(), 0, size, info.data()));

    EXPECT_EQ("Pastel Craft Plug-in Setup", VersionText(info, "ProductName"));
    EXPECT_EQ("Vantorel", VersionText(info, "CompanyName"));
    EXPECT_EQ("3.0.0.0", VersionText(info, "FileVersion"));
    EXPECT_EQ("3.0.0.0", VersionText(info, "ProductVersion"));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00030000u, fixed->dwFileVersionMS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

}  // namespace
