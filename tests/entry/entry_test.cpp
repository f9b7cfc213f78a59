#include <gtest/gtest.h>

#include <string>

#include "app/entry.h"
#include "support/test_support.h"

namespace {

// One test, because the guard it takes lasts as long as the process: a
// module without the dialog template is reported with the program's one-letter
// box and ends normally; every later start in this process then ends at once.
TEST(Entry, MissingTemplateIsReportedAndTheGuardStopsLaterStarts) {
    std::string text;
    {
        ModalWatcher watcher([&](HWND box) {
            text = MessageBoxText(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(0, RunSetup(GetModuleHandleA("kernel32.dll")));
    }
    EXPECT_EQ("E", text);

    ModalWatcher watcher([](HWND window) { PostMessageA(window, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(0, RunSetup(GetModuleHandleA(nullptr)));
    EXPECT_FALSE(watcher.Answered());
}

// Out of memory, the program's throwing operator new ends the process with
// ERROR_NOT_ENOUGH_MEMORY instead of returning null.
TEST(HeapNew, OutOfMemoryEndsTheProgram) {
    ChildProcess probe("\"" + OwnFolder() + "heap_probe.exe\"");
    ASSERT_TRUE(probe.Started());
    EXPECT_EQ(ERROR_NOT_ENOUGH_MEMORY, probe.ExitCode(20000));
}

}  // namespace
