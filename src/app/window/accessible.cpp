#include "app/window/accessible.h"

#include <new>
#include <utility>

#include "app/window/automation_provider.h"
#include "shared/late_bound_win32.h"

namespace tastolink {

BSTR BstrOf(const std::wstring& text) {
    static const auto allocate =
        LateBound<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
    return text.empty() || !allocate ? nullptr : allocate(text.data(), static_cast<UINT>(text.size()));
}

void FreeBstr(BSTR text) {
    static const auto free = LateBound<decltype(&SysFreeString)>(L"oleaut32.dll", "SysFreeString");
    if (text && free) free(text);
}

// The object itself. It answers for the control itself (child 0) and for its simple children;
// where, parent and neighbours come from the system's own object of the window's client area.
class AccessibleObject::Object final : public IAccessible {
public:
    explicit Object(AccessibleFace& face) : face_(&face) {
        static const auto standard =
            LateBound<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
        if (standard)
            standard(face.AccessibleWindow(), OBJID_CLIENT, __uuidof(IAccessible),
                     reinterpret_cast<void**>(&standard_));
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void Disconnect() {
        face_ = nullptr;
        if (standard_) std::exchange(standard_, nullptr)->Release();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            Disconnect();
            delete this;
        }
        return left;
    }

    // IDispatch: assistive technology calls the vtable.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!face_) return RPC_E_DISCONNECTED;
        return standard_ ? standard_->get_accParent(parent) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        if (!face_) return RPC_E_DISCONNECTED;
        *count = face_->ChildCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!face_) return RPC_E_DISCONNECTED;
        return ChildOf(child) < 0 ? E_INVALIDARG : S_FALSE;  // simple elements have no object of their own
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Answer(child, name, [this](long at) { return at ? face_->ChildName(at) : face_->Name(); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Answer(child, value, [this](long at) { return at ? std::wstring() : face_->Value(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Answer(child, text, [](long) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Answer(child, role, [this](long at) { return at ? ROLE_SYSTEM_LISTITEM : face_->Role(); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Answer(child, state, [this](long at) { return at ? face_->ChildState(at) : face_->State(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Answer(child, text, [](long) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return face_ ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Answer(child, text, [](long) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        *focus = VARIANT{};
        if (!face_) return RPC_E_DISCONNECTED;
        if (face_->State() & STATE_SYSTEM_FOCUSED) {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        *selection = VARIANT{};
        if (!face_) return RPC_E_DISCONNECTED;
        for (long at = 1; at <= face_->ChildCount(); ++at)
            if (face_->ChildState(at) & STATE_SYSTEM_SELECTED) {
                selection->vt = VT_I4;
                selection->lVal = at;
                return S_OK;
            }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Answer(child, action,
                      [this](long at) { return at ? std::wstring() : face_->DefaultAction(); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override {
        return face_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        if (!face_) return RPC_E_DISCONNECTED;
        const long at = ChildOf(child);
        if (at < 0) return E_INVALIDARG;
        RECT place;
        if (at == 0) {
            GetClientRect(face_->AccessibleWindow(), &place);
        } else if (!face_->ChildPlace(at, place)) {
            return S_FALSE;
        }
        MapWindowPoints(face_->AccessibleWindow(), nullptr, reinterpret_cast<POINT*>(&place), 2);
        *left = place.left;
        *top = place.top;
        *width = place.right - place.left;
        *height = place.bottom - place.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        *end = VARIANT{};
        if (!face_) return RPC_E_DISCONNECTED;
        return standard_ && ChildOf(start) == 0 ? standard_->accNavigate(direction, start, end) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        *hit = VARIANT{};
        if (!face_) return RPC_E_DISCONNECTED;
        POINT point{x, y};
        ScreenToClient(face_->AccessibleWindow(), &point);
        RECT client;
        GetClientRect(face_->AccessibleWindow(), &client);
        if (!PtInRect(&client, point)) return S_FALSE;
        hit->vt = VT_I4;
        hit->lVal = face_->ChildAt(point);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!face_) return RPC_E_DISCONNECTED;
        if (ChildOf(child) != 0 || face_->DefaultAction().empty()) return DISP_E_MEMBERNOTFOUND;
        face_->DoDefaultAction();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~Object() = default;

    // 0 for the control itself, 1 to ChildCount() for a child, -1 for what names neither.
    long ChildOf(const VARIANT& child) const {
        if (child.vt != VT_I4) return -1;
        return child.lVal >= 0 && child.lVal <= face_->ChildCount() ? child.lVal : -1;
    }

    // A question about the control or one of its children: the answer cleared, then for a child
    // that exists taken from `read`.
    template <typename Out, typename Read>
    HRESULT Answer(const VARIANT& child, Out* out, Read&& read) {
        if (!out) return E_POINTER;
        *out = Out{};
        if (!face_) return RPC_E_DISCONNECTED;
        const long at = ChildOf(child);
        if (at < 0) return E_INVALIDARG;
        return Put(*out, read(at));
    }
    static HRESULT Put(BSTR& out, const std::wstring& text) {
        out = BstrOf(text);
        return out ? S_OK : S_FALSE;
    }
    static HRESULT Put(VARIANT& out, long number) {
        out.vt = VT_I4;
        out.lVal = number;
        return S_OK;
    }

    AccessibleFace* face_;
    IAccessible* standard_ = nullptr;
    LONG references_ = 1;  // the control's own
};

LRESULT AccessibleObject::Answer(WPARAM wParam, LPARAM lParam) {
    if (static_cast<long>(lParam) == kUiaRootObjectId) {
        if (!provider_) provider_ = new (std::nothrow) AutomationProvider(face_);
        return provider_ ? provider_->Answer(wParam, lParam) : 0;
    }
    if (static_cast<long>(lParam) != OBJID_CLIENT) return 0;
    if (!object_) object_ = new (std::nothrow) Object(face_);
    // The object is handed over through COM, which WinMain has started for the window's thread.
    static const auto answer = LateBound<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    if (!object_ || !answer) return 0;
    // A failure is an error code, which the asker would take for an answer: the system's own object
    // stands in for it.
    const LRESULT result = answer(__uuidof(IAccessible), wParam, object_);
    return FAILED(result) ? 0 : result;
}

void AccessibleObject::Disconnect() {
    if (provider_) {
        provider_->Disconnect();
        std::exchange(provider_, nullptr)->Release();
    }
    if (!object_) return;
    object_->Disconnect();
    std::exchange(object_, nullptr)->Release();
}

void AccessibleObject::Raise(DWORD event) {
    NotifyWinEvent(event, face_.AccessibleWindow(), OBJID_CLIENT, CHILDID_SELF);
    if (provider_) provider_->Raise(event);
}

}  // namespace tastolink
