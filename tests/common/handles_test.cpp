#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "common/handles.h"
#include "support/test_support.h"

namespace {

bool KeyIsOpen(HKEY key) {
    DWORD subkeys = 0;
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool HandleIsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(RegKey, ClosesOnceAndMovesOwnership) {
    ScratchKey scratch("Software");
    HKEY raw = nullptr;
    {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, scratch.Path().c_str()));
        raw = key.Get();
        RegKey moved(std::move(key));
        EXPECT_FALSE(key);
        EXPECT_EQ(raw, moved.Get());
        RegKey assigned;
        assigned = std::move(moved);
        EXPECT_FALSE(moved);
        EXPECT_TRUE(KeyIsOpen(raw));
    }
    EXPECT_FALSE(KeyIsOpen(raw));

    RegKey missing;
    EXPECT_NE(ERROR_SUCCESS, missing.Open(HKEY_CURRENT_USER, (scratch / "absent").c_str()));
    EXPECT_FALSE(missing);

    // Release hands the key over: the guard no longer closes it.
    RegKey opened;
    ASSERT_EQ(ERROR_SUCCESS, opened.Open(HKEY_CURRENT_USER, scratch.Path().c_str()));
    HKEY released = opened.Release();
    opened.Reset();
    EXPECT_TRUE(KeyIsOpen(released));
    RegCloseKey(released);
}

TEST(GdiObject, DeletesOnceAndMovesOwnership) {
    HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
    {
        GdiObject<HBRUSH> brush(first);
        GdiObject<HBRUSH> moved(std::move(brush));
        EXPECT_FALSE(brush);
        EXPECT_EQ(first, moved.Get());
        moved.Reset(second);
        EXPECT_EQ(0u, GetObjectType(first));
        EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(second));
    }
    EXPECT_EQ(0u, GetObjectType(second));
}

TEST(MemoryDc, DeletesOnceAndMovesOwnership) {
    HDC raw = CreateCompatibleDC(nullptr);
    {
        MemoryDc dc(raw);
        MemoryDc moved;
        moved = std::move(dc);
        EXPECT_FALSE(dc);
        EXPECT_EQ(raw, moved.Get());
        EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(raw));
    }
    EXPECT_EQ(0u, GetObjectType(raw));
}

TEST(WindowDc, MovesTheDcToTheNewGuard) {
    WindowDc screen(nullptr);
    ASSERT_TRUE(screen);
    HDC raw = screen.Get();
    WindowDc moved(std::move(screen));
    EXPECT_FALSE(screen);
    EXPECT_EQ(raw, moved.Get());
}

TEST(SelectGuard, SelectsBackWhatWasThereBefore) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    GdiObject<HBITMAP> first(CreateBitmap(2, 2, 1, 1, nullptr));
    GdiObject<HBITMAP> second(CreateBitmap(2, 2, 1, 1, nullptr));
    HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    {
        SelectGuard outer(dc.Get(), first.Get());
        EXPECT_EQ(first.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
        {
            SelectGuard inner(dc.Get(), second.Get());
            EXPECT_EQ(second.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
        }
        EXPECT_EQ(first.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
    }
    EXPECT_EQ(original, GetCurrentObject(dc.Get(), OBJ_BITMAP));

    // A moved guard restores once, when the guard it moved to ends.
    {
        SelectGuard outer(dc.Get(), first.Get());
        { SelectGuard moved(std::move(outer)); }
        EXPECT_EQ(original, GetCurrentObject(dc.Get(), OBJ_BITMAP));
        SelectObject(dc.Get(), second.Get());
    }
    EXPECT_EQ(second.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
    SelectObject(dc.Get(), original);
}

TEST(KernelHandle, ClosesOnceAndMovesOwnership) {
    HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        KernelHandle event(raw);
        KernelHandle moved(std::move(event));
        EXPECT_FALSE(event);
        EXPECT_EQ(raw, moved.Get());
        EXPECT_TRUE(HandleIsOpen(raw));
    }
    EXPECT_FALSE(HandleIsOpen(raw));

    KernelHandle closing(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE closingRaw = closing.Get();
    EXPECT_TRUE(closing.Close());
    EXPECT_FALSE(HandleIsOpen(closingRaw));
    EXPECT_TRUE(closing.Close()) << "nothing left to close";

    KernelHandle invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid);
}

}  // namespace
