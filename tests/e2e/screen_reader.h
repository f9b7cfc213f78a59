// What a screen reader reads of another program's window: the accessible
// object of its client area, asked for its children's role, name, state,
// place and default action, and the child with the keyboard focus. Header
// only; the test program links oleacc and oleaut32.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

class ScreenReader {
  public:
    explicit ScreenReader(HWND window) {
        com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object_));
    }
    ~ScreenReader() {
        if (object_) object_->Release();
        if (com_) CoUninitialize();
    }
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    bool Connected() const { return object_ != nullptr; }

    long ChildCount() const {
        LONG count = -1;
        return object_->get_accChildCount(&count) == S_OK ? count : -1;
    }
    long Role(long child) const { return Number(&IAccessible::get_accRole, child); }
    long State(long child) const { return Number(&IAccessible::get_accState, child); }
    std::string Name(long child) const { return Text(&IAccessible::get_accName, child); }
    std::string DefaultAction(long child) const {
        return Text(&IAccessible::get_accDefaultAction, child);
    }
    HRESULT DoDefaultAction(long child) const { return object_->accDoDefaultAction(Id(child)); }

    // The child id that has the keyboard focus: 0 for the client area
    // itself, -1 for none.
    long Focus() const {
        VARIANT focus;
        VariantInit(&focus);
        if (FAILED(object_->get_accFocus(&focus)) || focus.vt != VT_I4) {
            VariantClear(&focus);
            return -1;
        }
        return focus.lVal;
    }

    // The child's place on the screen; empty on failure.
    RECT Location(long child) const {
        LONG left = 0, top = 0, width = 0, height = 0;
        if (object_->accLocation(&left, &top, &width, &height, Id(child)) != S_OK) return RECT{};
        return RECT{left, top, left + width, top + height};
    }

    // The first child of that name, or -1.
    long ChildNamed(const std::string& name) const {
        long count = ChildCount();
        for (long child = 1; child <= count; ++child)
            if (Name(child) == name) return child;
        return -1;
    }

    // The child's own object (a child window has one); null for none.
    IDispatch* ChildObject(long child) const {
        IDispatch* dispatch = nullptr;
        object_->get_accChild(Id(child), &dispatch);
        return dispatch;
    }

  private:
    static VARIANT Id(long child) {
        VARIANT id;
        VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = child;
        return id;
    }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
                long child) const {
        VARIANT value;
        VariantInit(&value);
        HRESULT status = (object_->*get)(Id(child), &value);
        long number = status == S_OK && value.vt == VT_I4 ? value.lVal : -1;
        VariantClear(&value);
        return number;
    }
    std::string Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                     long child) const {
        BSTR text = nullptr;
        if (FAILED((object_->*get)(Id(child), &text)) || !text) return "";
        char narrow[512] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        SysFreeString(text);
        return narrow;
    }

    bool com_ = false;
    IAccessible* object_ = nullptr;
};
