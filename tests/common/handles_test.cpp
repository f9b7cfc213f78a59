#include <gtest/gtest.h>

#include <objbase.h>
#include <windows.h>

#include <utility>

#include "common/handles.h"
#include "support/test_support.h"

namespace {

// Hands `raw` from guard to guard by move construction and move assignment:
// only the last guard holds it, and it frees it when it ends.
template <typename Guard, typename Raw, typename IsAlive>
void ExpectOwnershipMoves(Raw raw, IsAlive isAlive) {
    {
        Guard first(raw);
        Guard second(std::move(first));
        Guard third;
        third = std::move(second);
        EXPECT_FALSE(first);
        EXPECT_FALSE(second);
        EXPECT_EQ(raw, third.Get());
        EXPECT_TRUE(isAlive(raw));
    }
    EXPECT_FALSE(isAlive(raw));
}

bool KeyIsOpen(HKEY key) {
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
bool HandleIsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}
bool GdiObjectExists(HGDIOBJ object) {
    return GetObjectType(object) != 0;
}

TEST(HandleGuards, FreeWhatTheyHoldOnceAfterMovesAndResets) {
    ScratchKey scratch("Software");
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, scratch.Path().c_str()));
    EXPECT_NE(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, (scratch / "absent").c_str()));
    EXPECT_FALSE(key);
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, scratch.Path().c_str()));
    HKEY raw = key.Release();
    key.Reset();
    ExpectOwnershipMoves<RegKey>(raw, KeyIsOpen);
    ExpectOwnershipMoves<GdiObject<HBRUSH>>(CreateSolidBrush(RGB(1, 2, 3)), GdiObjectExists);
    ExpectOwnershipMoves<MemoryDc>(CreateCompatibleDC(nullptr), GdiObjectExists);
    ExpectOwnershipMoves<KernelHandle>(CreateEventA(nullptr, TRUE, FALSE, nullptr), HandleIsOpen);
    IStream* stream = nullptr;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    stream->AddRef();  // kept here, so that the guard's reference can be seen to go
    ExpectOwnershipMoves<ComRef<IStream>>(stream,
                                          [](IStream* s) { return s->AddRef(), s->Release() > 1; });
    stream->Release();

    WindowDc screen(nullptr);
    HDC dc = screen.Get();
    WindowDc moved(std::move(screen));
    EXPECT_FALSE(screen);
    EXPECT_EQ(dc, moved.Get());

    HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
    GdiObject<HBRUSH> brush(first);
    brush.Reset(CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_FALSE(GdiObjectExists(first));

    KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE closed = event.Get();
    EXPECT_TRUE(event.Close());
    EXPECT_FALSE(HandleIsOpen(closed));
    EXPECT_TRUE(event.Close()) << "nothing left to close";
    EXPECT_FALSE(KernelHandle(INVALID_HANDLE_VALUE));
}

TEST(SelectGuard, SelectsBackWhatWasThereBeforeOnce) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    GdiObject<HBITMAP> first(CreateBitmap(2, 2, 1, 1, nullptr));
    GdiObject<HBITMAP> second(CreateBitmap(2, 2, 1, 1, nullptr));
    auto selected = [&] { return GetCurrentObject(dc.Get(), OBJ_BITMAP); };
    HGDIOBJ original = selected();
    {
        SelectGuard guard(dc.Get(), first.Get());
        EXPECT_EQ(first.Get(), selected());
        // A moved guard restores once, when the guard it moved to ends.
        { SelectGuard moved(std::move(guard)); }
        EXPECT_EQ(original, selected());
        SelectObject(dc.Get(), second.Get());
    }
    EXPECT_EQ(second.Get(), selected());
    SelectObject(dc.Get(), original);
}

}  // namespace
