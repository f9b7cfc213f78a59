// The dialog's layout follows the background's size: this program carries a
// 420 x 250 background instead of the program's 500 x 292.
#include <gtest/gtest.h>

#include "app/dialog_skin.h"
#include "app/entry.h"
#include "res/resource_ids.h"
#include "skin/bitmap_button.h"
#include "skin/link_label.h"
#include "skin/skin_context.h"
#include "skin/strip_selector.h"
#include "support/skinned_dialog.h"

namespace {

constexpr int W = 420;
constexpr int H = 250;

bool At(const RECT& place, int x, int y) {
    return place.left == x && place.top == y;
}

TEST(Layout, FollowsTheBackgroundsSizeWhereTheRulesSaySo) {
    SkinnedDialog dialog;
    HWND window = dialog.Window();

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(W, client.right);
    EXPECT_EQ(H, client.bottom);

    // Resized around the centre the system gave the template.
    RECT frame;
    GetWindowRect(window, &frame);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((work.left + work.right) / 2, (frame.left + frame.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (frame.top + frame.bottom) / 2, 1);

    // Bottom row and list follow W and H.
    EXPECT_TRUE(At(dialog.Button(CancelButton)->bounds, W - 63, H - 21));
    EXPECT_TRUE(At(dialog.Button(InstallButton)->bounds, W - 125, H - 21));
    EXPECT_TRUE(At(dialog.Button(CloseButton)->bounds, W - 65, H - 21));
    RECT list = dialog.ChildPlace(IDC_FOLDER_LIST);
    EXPECT_TRUE(At(list, 16, H - 60));
    EXPECT_EQ(W - 31, list.right - list.left);
    RECT status = MainSkin->host->statusRect;
    EXPECT_TRUE(At(status, 20, H - 19));
    EXPECT_EQ(16 + (W - 31) - 130, status.right);
    EXPECT_EQ(H + 1, status.bottom);

    // Link, picture and options keep their places.
    EXPECT_TRUE(At(static_cast<LinkLabel*>(dialog.Slot(WebLink))->bounds, 300, 20));
    EXPECT_TRUE(At(dialog.Button(Picture)->bounds, 6, 6));
    EXPECT_TRUE(At(dialog.Option(0)->cellRect, 250, 80));
    EXPECT_TRUE(At(dialog.Option(1)->cellRect, 250, 100));

    // The prompt stands 86 pixels above the bottom, over the background.
    Pixels background = LoadArtwork(IDB_BACKGROUND);
    ASSERT_EQ(W, background.width);
    Pixels shown = ClientPixels(window);
    EXPECT_LT(20, CountDifferences(shown, background, {20, H - 86, 260, H - 72}));
    EXPECT_EQ(0, CountDifferences(shown, background, {20, H - 100, 240, H - 87}));
}

}  // namespace
