// Move-only owners for the platform's handles. Each guard frees exactly what
// it holds, once; a moved-from guard holds nothing.
#pragma once

#include <windows.h>

#include <utility>

// The shape of most guards below: one handle, freed with Free when replaced
// or let go; null holds nothing.
template <typename Handle, auto Free>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_) Free(handle_);
        handle_ = handle;
    }
    // For the creating call to write through: what was held is let go first.
    Handle* Out() {
        Reset();
        return &handle_;
    }

  private:
    Handle handle_ = nullptr;
};

// A memory DC from CreateCompatibleDC.
using MemoryDc = UniqueHandle<HDC, DeleteDC>;
// A GDI object (bitmap, font, brush, pen). It must not be selected into a DC
// when the guard lets it go.
template <typename Handle>
using GdiObject = UniqueHandle<Handle, DeleteObject>;
// A cursor of its own (LoadImage without LR_SHARED).
using CursorHandle = UniqueHandle<HCURSOR, DestroyCursor>;
// A module loaded with LoadLibrary.
using ModuleHandle = UniqueHandle<HMODULE, FreeLibrary>;

// An open registry key.
class RegKey : public UniqueHandle<HKEY, RegCloseKey> {
  public:
    using UniqueHandle::UniqueHandle;

    // Opens root\path for reading; returns the platform's status (0 success).
    LONG Open(HKEY root, const char* path, REGSAM access = KEY_READ) {
        HKEY key = nullptr;
        LONG status = RegOpenKeyExA(root, path, 0, access, &key);
        Reset(status == ERROR_SUCCESS ? key : nullptr);
        return status;
    }
    // Creates or opens root\path with full access; returns the status.
    LONG Create(HKEY root, const char* path) {
        HKEY key = nullptr;
        LONG status = RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr);
        Reset(status == ERROR_SUCCESS ? key : nullptr);
        return status;
    }
};

// A window's DC from GetDC, given back with ReleaseDC; an empty one holds none.
class WindowDc {
  public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(WindowDc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (dc_) ReleaseDC(window_, dc_);
        window_ = other.window_;
        dc_ = std::exchange(other.dc_, nullptr);
        return *this;
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// A COM interface pointer, released by its one owner.
template <typename Interface>
void ReleaseInterface(Interface* object) {
    object->Release();
}
template <typename Interface>
class ComRef : public UniqueHandle<Interface*, ReleaseInterface<Interface>> {
  public:
    using ComRef::UniqueHandle::UniqueHandle;

    Interface* operator->() const { return this->Get(); }
    void** OutVoid() { return reinterpret_cast<void**>(this->Out()); }

  private:
    // ref->Release() is COM's; letting the reference go unreleased is not offered.
    using ComRef::UniqueHandle::Release;
};

// Selects an object into a DC and selects the previous one back on scope exit.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectGuard(SelectGuard&& other) noexcept
        : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
    SelectGuard& operator=(SelectGuard&&) = delete;
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A kernel handle (file, mutex, process). Both null and INVALID_HANDLE_VALUE
// mean "nothing held".
inline void CloseKernelHandle(HANDLE handle) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}
class KernelHandle : public UniqueHandle<HANDLE, CloseKernelHandle> {
  public:
    using UniqueHandle::UniqueHandle;

    explicit operator bool() const { return Get() != nullptr && Get() != INVALID_HANDLE_VALUE; }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        HANDLE handle = Release();
        return !handle || handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != FALSE;
    }
};
