// A DLL planted beside a program under the name of a system DLL is loaded by
// the ordinary search order, but not once the program has restricted it, and
// never by setup.exe.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "support/test_support.h"

namespace {

TEST(PlantedDll, IsLoadedOnlyWhileTheSearchIsUnrestricted) {
    // The test run tells Wine to prefer a DLL found on disk to its own, as
    // Windows does for a DLL that is not a known system DLL.
    char overrides[256] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    if (!strstr(overrides, "uxtheme=n")) GTEST_SKIP() << "needs WINEDLLOVERRIDES=uxtheme=n,b";
    const DWORD kTimeout = 20000;
    const struct {
        const char* program;
        const char* arguments;
        bool waitsInDialog, loaded;
    } cases[] = {
        {"planted\\dll_probe.exe", "", false, true},
        {"planted\\dll_probe.exe", " restrict", false, false},
        {"setup.exe", "", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + c.arguments);
        TempFolder folder;
        std::string program = folder / "program.exe";
        ASSERT_TRUE(CopyFileA((OwnFolder() + "planted\\uxtheme.dll").c_str(),
                              (folder / "uxtheme.dll").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((OwnFolder() + c.program).c_str(), program.c_str(), FALSE));
        ChildProcess child("\"" + program + "\"" + c.arguments);
        if (c.waitsInDialog) {
            HWND dialog = child.Dialog(kTimeout);
            ASSERT_NE(nullptr, dialog);
            PressKey(dialog, VK_ESCAPE);
        }
        EXPECT_EQ(0, child.ExitCode(kTimeout));
        EXPECT_EQ(c.loaded, FileExists(folder / "planted-dll-ran.txt"));
    }
}

}  // namespace
