// A DLL planted beside setup.exe under the name of a system DLL is loaded by
// the ordinary search order, but not once the program has restricted it.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "support/test_support.h"

namespace {

constexpr DWORD kTimeout = 20000;

class PlantedDll : public ::testing::Test {
  protected:
    void SetUp() override {
        // The test run tells Wine to prefer a DLL found on disk to its own,
        // as Windows does for a DLL that is not a known system DLL.
        char overrides[256] = "";
        GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
        if (!strstr(overrides, "uxtheme=n")) GTEST_SKIP() << "needs WINEDLLOVERRIDES=uxtheme=n,b";
        ASSERT_TRUE(CopyFileA((OwnFolder() + "planted\\uxtheme.dll").c_str(),
                              (folder / "uxtheme.dll").c_str(), FALSE));
    }
    std::string Copy(const std::string& source) {
        std::string name = source.substr(source.find_last_of('\\') + 1);
        EXPECT_TRUE(CopyFileA(source.c_str(), (folder / name).c_str(), FALSE)) << source;
        return folder / name;
    }
    bool PlantedDllRan() const { return FileExists(folder / "planted-dll-ran.txt"); }

    TempFolder folder;
};

TEST_F(PlantedDll, IsLoadedByTheOrdinarySearchOrder) {
    std::string probe = Copy(OwnFolder() + "planted\\dll_probe.exe");
    ChildProcess unrestricted("\"" + probe + "\"");
    EXPECT_EQ(0, unrestricted.ExitCode(kTimeout));
    EXPECT_TRUE(PlantedDllRan());
}

TEST_F(PlantedDll, IsNotLoadedOnceTheSearchIsRestricted) {
    std::string probe = Copy(OwnFolder() + "planted\\dll_probe.exe");
    ChildProcess restricted("\"" + probe + "\" restrict");
    EXPECT_EQ(0, restricted.ExitCode(kTimeout));
    EXPECT_FALSE(PlantedDllRan());
}

TEST_F(PlantedDll, IsNotLoadedBySetupExe) {
    std::string setup = Copy(OwnFolder() + "setup.exe");
    ChildProcess program("\"" + setup + "\"");
    HWND dialog = program.Dialog(kTimeout);
    ASSERT_NE(nullptr, dialog);
    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(0, program.ExitCode(kTimeout));
    EXPECT_FALSE(PlantedDllRan());
}

}  // namespace
