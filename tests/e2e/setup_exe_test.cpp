// The built setup.exe, started as a separate process and driven from this
// one the way a user or an automation tool would: through its windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup_exe.h"

namespace {

TEST(SetupExe, ShowsItsListRunsOnceAndEndsWithEscape) {
    SetupProcess setup;
    ASSERT_TRUE(setup.Started()) << SetupExePath();
    HWND dialog = setup.Dialog(kStartTimeout);
    ASSERT_NE(nullptr, dialog);

    std::vector<std::string> entries = ListEntries(dialog);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(kBrowseEntry, entries.back());

    // A second copy ends at once, with code 0, and shows nothing.
    {
        SetupProcess second;
        ASSERT_TRUE(second.Started());
        EXPECT_EQ(0, second.ExitCode(kStartTimeout));
    }
    EXPECT_TRUE(IsWindowVisible(dialog));

    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));

    // Once the first copy has ended, the program starts normally again.
    SetupProcess again;
    HWND next = again.Dialog(kStartTimeout);
    ASSERT_NE(nullptr, next);
    PressKey(next, VK_ESCAPE);
    EXPECT_EQ(0, again.ExitCode(kStartTimeout));
}

}  // namespace
