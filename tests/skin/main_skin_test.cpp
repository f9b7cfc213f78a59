#include "app/entry.h"
#include "skin/skin_context.h"
#include "skin_test_support.h"
#include "support/test_support.h"

namespace {

// The entry keeps its single-instance guard open for the life of the process,
// so a second run in this process would end at once.
TEST(MainSkin, ExistsWhileTheDialogRunsAndIsGoneAfter) {
    bool skinWhileShown = false;
    {
        ModalWatcher watcher([&](HWND dialog) {
            skinWhileShown = MainSkin != nullptr;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(0, RunSetup(TestInstance()));
        EXPECT_TRUE(watcher.Answered());
    }
    EXPECT_TRUE(skinWhileShown);
    EXPECT_EQ(nullptr, MainSkin);
    EXPECT_EQ(0, SlotsInUse());
}

}  // namespace
