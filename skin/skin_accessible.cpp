#include "skin/skin_accessible.h"

#include <oleacc.h>

#include <new>

#include "common/com_apartment.h"
#include "common/system_function.h"
#include "skin/skin_control.h"
#include "skin/skin_focus.h"

namespace {

using LresultFromObjectProc = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectProc = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using SysAllocStringProc = BSTR(WINAPI*)(const OLECHAR*);

LresultFromObjectProc ResultFromObject;
CreateStdAccessibleObjectProc CreateStdObject;
SysAllocStringProc AllocString;

// The libraries stay loaded until the process ends: clients may hold the
// object, and its strings are theirs to free.
bool LoadAccessibility() {
    if (ResultFromObject) return true;
    // The object is handed over through COM, which the thread joins now.
    JoinApartment();
    HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
    HMODULE oleaut = LoadSystemLibrary("oleaut32.dll");
    if (!oleacc || !oleaut) return false;
    CreateStdObject = reinterpret_cast<CreateStdAccessibleObjectProc>(
        GetProcAddress(oleacc, "CreateStdAccessibleObject"));
    AllocString = reinterpret_cast<SysAllocStringProc>(GetProcAddress(oleaut, "SysAllocString"));
    if (!CreateStdObject || !AllocString) return false;
    ResultFromObject =
        reinterpret_cast<LresultFromObjectProc>(GetProcAddress(oleacc, "LresultFromObject"));
    return ResultFromObject != nullptr;
}

// A text as a string the caller frees; S_FALSE and null for none.
HRESULT Text(const char* text, BSTR* out) {
    *out = nullptr;
    if (!text || !text[0]) return S_FALSE;
    WCHAR wide[128];
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 128)) return E_FAIL;
    *out = AllocString(wide);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT Number(LONG value, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

HRESULT Nothing(VARIANT* out) {
    out->vt = VT_EMPTY;
    return S_FALSE;
}

}  // namespace

class SkinAccessible final : public IAccessible {
  public:
    explicit SkinAccessible(ControlHost* host) : host(host) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        *object = nullptr;
        if (id != __uuidof(IUnknown) && id != __uuidof(IDispatch) && id != __uuidof(IAccessible))
            return E_NOINTERFACE;
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references;
        if (!left) delete this;
        return left;
    }

    // Clients reach the object through its IAccessible methods only.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        if (!host) return E_FAIL;
        return CreateStdObject(host->window, OBJID_WINDOW, __uuidof(IDispatch),
                               reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = 0;
        if (!host) return E_FAIL;
        *count = host->controlCount + WindowCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        *child = nullptr;
        Child found = Resolve(id);
        if (found.status != S_OK || !found.window) return found.control ? S_FALSE : E_INVALIDARG;
        return CreateStdObject(found.window, OBJID_WINDOW, __uuidof(IDispatch),
                               reinterpret_cast<void**>(child));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        *name = nullptr;
        Child found = Resolve(id);
        if (found.status != S_OK || found.window) return E_INVALIDARG;
        if (found.control) return Text(found.control->AccessibleName(), name);
        char title[128] = "";
        GetWindowTextA(host->window, title, sizeof title);
        return Text(title, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
        return Text(nullptr, value);
    }
    // The control's hover text.
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override {
        *text = nullptr;
        Child found = Resolve(id);
        if (found.status != S_OK || found.window) return E_INVALIDARG;
        return Text(found.control ? found.control->statusText : nullptr, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        role->vt = VT_EMPTY;
        Child found = Resolve(id);
        if (found.status != S_OK || found.window) return E_INVALIDARG;
        return Number(found.control ? found.control->AccessibleRole() : ROLE_SYSTEM_CLIENT, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        state->vt = VT_EMPTY;
        Child found = Resolve(id);
        if (found.status != S_OK || found.window) return E_INVALIDARG;
        bool hasFocus = GetFocus() == host->window;
        SkinControl* control = found.control;
        if (!control)
            return Number(
                STATE_SYSTEM_FOCUSABLE | (hasFocus && !host->focused ? STATE_SYSTEM_FOCUSED : 0),
                state);
        LONG bits = control->AccessibleState();
        if (!control->visible)
            bits |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE;
        else if (control->DefaultActionName())
            bits |= control->active ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
        if (hasFocus && control == host->focused) bits |= STATE_SYSTEM_FOCUSED;
        return Number(bits, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        return Text(nullptr, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
        return Text(nullptr, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!host) return E_FAIL;
        HWND holder = GetFocus();
        if (holder == host->window)
            return Number(host->focused ? host->focused->ChildId() : 0, focus);
        LONG id = holder ? WindowIdOf(holder) : 0;
        return id ? Number(id, focus) : Nothing(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return Nothing(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
        *action = nullptr;
        Child found = Resolve(id);
        if (found.status != S_OK || found.window) return E_INVALIDARG;
        return Text(found.control ? found.control->DefaultActionName() : nullptr, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override {
        Child found = Resolve(id);
        if (found.status != S_OK || !found.control || flags != SELFLAG_TAKEFOCUS ||
            !found.control->CanTakeFocus())
            return E_INVALIDARG;
        SetSkinFocus(host, found.control);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT id) override {
        *left = *top = *width = *height = 0;
        Child found = Resolve(id);
        if (found.status != S_OK) return found.status;
        RECT place;
        if (found.window) {
            GetWindowRect(found.window, &place);
        } else {
            if (found.control)
                place = found.control->Bounds();
            else
                GetClientRect(host->window, &place);
            MapWindowPoints(host->window, nullptr, reinterpret_cast<POINT*>(&place), 2);
        }
        *left = place.left;
        *top = place.top;
        *width = place.right - place.left;
        *height = place.bottom - place.top;
        return S_OK;
    }
    // Siblings by child id, and the first and last child of the client area.
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        end->vt = VT_EMPTY;
        Child found = Resolve(start);
        if (found.status != S_OK) return found.status;
        LONG count = host->controlCount + WindowCount();
        LONG to = 0;
        if (!found.control && !found.window) {
            if (direction == NAVDIR_FIRSTCHILD) to = 1;
            if (direction == NAVDIR_LASTCHILD) to = count;
        } else if (direction == NAVDIR_NEXT) {
            to = start.lVal + 1;
        } else if (direction == NAVDIR_PREVIOUS) {
            to = start.lVal - 1;
        }
        if (to < 1 || to > count) return S_FALSE;
        return Number(to, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* at) override {
        at->vt = VT_EMPTY;
        if (!host) return E_FAIL;
        POINT point = {x, y};
        ScreenToClient(host->window, &point);
        RECT client;
        GetClientRect(host->window, &client);
        if (!PtInRect(&client, point)) return S_FALSE;
        if (SkinControl* control = ControlAt(host, point, false))
            return Number(control->ChildId(), at);
        HWND child = ChildWindowFromPointEx(host->window, point, CWP_SKIPINVISIBLE);
        LONG id = child && child != host->window ? WindowIdOf(child) : 0;
        return Number(id ? id : CHILDID_SELF, at);
    }
    // What a click does, for a control that could take the focus.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        Child found = Resolve(id);
        if (found.status != S_OK) return found.status;
        if (!found.control || !found.control->CanTakeFocus()) return DISP_E_MEMBERNOTFOUND;
        found.control->DoDefaultAction(host->window);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    ControlHost* host;  // null once the skin has let go
    ULONG references = 1;

  private:
    // What a child id names: a control, a child window, or with neither the
    // client area itself. E_FAIL once the skin is gone, E_INVALIDARG for no
    // such child.
    struct Child {
        HRESULT status;
        SkinControl* control;
        HWND window;
    };
    Child Resolve(const VARIANT& id) const {
        if (!host) return {E_FAIL, nullptr, nullptr};
        if (id.vt != VT_I4 || id.lVal < 0) return {E_INVALIDARG, nullptr, nullptr};
        LONG n = id.lVal - host->controlCount;
        if (n <= 0) return {S_OK, id.lVal ? host->controls[id.lVal - 1] : nullptr, nullptr};
        HWND child = GetWindow(host->window, GW_CHILD);
        while (child && --n > 0) child = GetWindow(child, GW_HWNDNEXT);
        return {child ? S_OK : E_INVALIDARG, nullptr, child};
    }
    LONG WindowCount() const { return WindowIdOf(nullptr) - host->controlCount; }
    // The child id of the child window that is or holds `target`; 0 when
    // none does. For null, the id of the last one (controlCount without).
    LONG WindowIdOf(HWND target) const {
        LONG id = host->controlCount;
        for (HWND child = GetWindow(host->window, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            ++id;
            if (target && (target == child || IsChild(child, target))) return id;
        }
        return target ? 0 : id;
    }
};

LRESULT AnswerGetObject(ControlHost* host, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !host->window || !LoadAccessibility())
        return 0;
    if (!host->accessible) host->accessible = new (std::nothrow) SkinAccessible(host);
    if (!host->accessible) return 0;
    LRESULT result = ResultFromObject(__uuidof(IAccessible), wParam, host->accessible);
    return result > 0 ? result : 0;
}

void ReleaseAccessible(ControlHost* host) {
    if (!host->accessible) return;
    host->accessible->host = nullptr;
    host->accessible->Release();
    host->accessible = nullptr;
}
