// Move-only owners for the platform's handles. Each guard frees exactly what
// it holds, once; a moved-from guard holds nothing.
#pragma once

#include <windows.h>

#include <utility>

// An open registry key, closed with RegCloseKey.
class RegKey {
  public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    RegKey(RegKey&& other) noexcept : key_(other.Release()) {}
    RegKey& operator=(RegKey&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { Reset(); }

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
        char emptyClass[] = "";
        LONG status = RegCreateKeyExA(root, path, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr);
        Reset(status == ERROR_SUCCESS ? key : nullptr);
        return status;
    }

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    HKEY Release() { return std::exchange(key_, nullptr); }
    void Reset(HKEY key = nullptr) {
        if (key_) RegCloseKey(key_);
        key_ = key;
    }

  private:
    HKEY key_ = nullptr;
};

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(WindowDc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDc {
  public:
    MemoryDc() = default;
    explicit MemoryDc(HDC dc) : dc_(dc) {}
    MemoryDc(MemoryDc&& other) noexcept : dc_(other.Release()) {}
    MemoryDc& operator=(MemoryDc&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() { Reset(); }

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    HDC Release() { return std::exchange(dc_, nullptr); }
    void Reset(HDC dc = nullptr) {
        if (dc_) DeleteDC(dc_);
        dc_ = dc;
    }

  private:
    HDC dc_ = nullptr;
};

// A GDI object (bitmap, font, brush, pen), deleted with DeleteObject. It must
// not be selected into a DC when the guard lets it go.
template <typename Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle object) : object_(object) {}
    GdiObject(GdiObject&& other) noexcept : object_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }

    Handle Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    Handle Release() { return std::exchange(object_, nullptr); }
    void Reset(Handle object = nullptr) {
        if (object_) DeleteObject(object_);
        object_ = object;
    }

  private:
    Handle object_ = nullptr;
};

// A COM interface pointer, released by its one owner. The creating call
// writes it through Out() while the owner is still empty.
template <typename Interface>
class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (object_) object_->Release();
    }

    Interface* Get() const { return object_; }
    Interface* operator->() const { return object_; }
    Interface** Out() { return &object_; }
    void** OutVoid() { return reinterpret_cast<void**>(&object_); }

  private:
    Interface* object_ = nullptr;
};

// A cursor of its own (LoadImage without LR_SHARED), destroyed with
// DestroyCursor when replaced or let go.
class CursorHandle {
  public:
    CursorHandle() = default;
    CursorHandle(const CursorHandle&) = delete;
    CursorHandle& operator=(const CursorHandle&) = delete;
    ~CursorHandle() { Reset(); }

    HCURSOR Get() const { return cursor_; }
    void Reset(HCURSOR cursor = nullptr) {
        if (cursor_) DestroyCursor(cursor_);
        cursor_ = cursor;
    }

  private:
    HCURSOR cursor_ = nullptr;
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

// A kernel handle (file, mutex, process), closed with CloseHandle. Both null
// and INVALID_HANDLE_VALUE mean "nothing held".
class KernelHandle {
  public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    KernelHandle(KernelHandle&& other) noexcept : handle_(other.Release()) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    ~KernelHandle() { Reset(); }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Release() { return std::exchange(handle_, nullptr); }
    void Reset(HANDLE handle = nullptr) {
        if (*this) CloseHandle(handle_);
        handle_ = handle;
    }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        bool closed = !*this || CloseHandle(handle_) != FALSE;
        handle_ = nullptr;
        return closed;
    }

  private:
    HANDLE handle_ = nullptr;
};
