#include "app/window/automation_provider.h"

#include <new>
#include <string>
#include <utility>

#include "shared/late_bound_win32.h"

namespace tastolink {
namespace {

template <typename Function>
Function Core(const char* name) {
    return LateBound<Function>(L"uiautomationcore.dll", name);
}

long ControlTypeOf(long role) {
    switch (role) {
        case ROLE_SYSTEM_COMBOBOX:
            return kComboBoxControlType;
        case ROLE_SYSTEM_PUSHBUTTON:
            return kButtonControlType;
        case ROLE_SYSTEM_LIST:
            return kListControlType;
    }
    return 0;
}

HRESULT PutText(VARIANT& out, const std::wstring& text) {
    out.vt = VT_BSTR;
    out.bstrVal = BstrOf(text);
    return S_OK;
}

HRESULT PutFlag(VARIANT& out, bool flag) {
    out.vt = VT_BOOL;
    out.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

// The entry a selector has chosen, as a list item of its list: the one element of its selection.
// A client can read it and select it; the other entries are reached through the Value pattern, by
// their text, as this provider offers no tree of its own to walk them.
class ChosenEntry final : public IRawElementProviderSimple, public ISelectionItemProvider {
public:
    ChosenEntry(AutomationProvider& container, long index) : container_(container), index_(index) {
        container_.AddRef();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (id == __uuidof(IUnknown) || id == __uuidof(IRawElementProviderSimple))
            *object = static_cast<IRawElementProviderSimple*>(this);
        else if (id == __uuidof(ISelectionItemProvider))
            *object = static_cast<ISelectionItemProvider*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
        return container_.get_ProviderOptions(options);
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override {
        if (!provider) return E_POINTER;
        *provider = nullptr;
        if (pattern == UIA_SelectionItemPatternId) *provider = static_cast<ISelectionItemProvider*>(this);
        if (*provider) AddRef();
        return Face() ? S_OK : kElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
        if (!value) return E_POINTER;
        *value = VARIANT{};
        if (!Face()) return kElementNotAvailable;
        if (property == UIA_ControlTypePropertyId) {
            value->vt = VT_I4;
            value->lVal = kListItemControlType;
        }
        if (property == UIA_NamePropertyId) return PutText(*value, Face()->ChoiceName(index_));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
        if (!host) return E_POINTER;
        *host = nullptr;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Select() override {
        if (!Face()) return kElementNotAvailable;
        Face()->Choose(index_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddToSelection() override {
        if (!Face()) return kElementNotAvailable;
        return Face()->Chosen() == index_ ? S_OK : kInvalidOperation;
    }
    HRESULT STDMETHODCALLTYPE RemoveFromSelection() override {
        return Face() ? kInvalidOperation : kElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* selected) override {
        if (!selected) return E_POINTER;
        *selected = Face() && Face()->Chosen() == index_;
        return Face() ? S_OK : kElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** container) override {
        if (!container) return E_POINTER;
        container_.AddRef();
        *container = &container_;
        return S_OK;
    }

private:
    ~ChosenEntry() { container_.Release(); }
    AccessibleFace* Face() const { return container_.Face(); }

    AutomationProvider& container_;
    const long index_;
    LONG references_ = 1;
};

}  // namespace

LRESULT AutomationProvider::Answer(WPARAM wParam, LPARAM lParam) {
    static const auto answer = Core<ReturnRawElementProvider>("UiaReturnRawElementProvider");
    return answer && face_ ? answer(face_->AccessibleWindow(), wParam, lParam, this) : 0;
}

void AutomationProvider::Raise(DWORD winEvent) {
    static const auto event = Core<RaiseAutomationEvent>("UiaRaiseAutomationEvent");
    static const auto changed = Core<RaisePropertyChangedEvent>("UiaRaiseAutomationPropertyChangedEvent");
    if (!face_ || !event || !changed) return;
    VARIANT before{}, now{};
    switch (winEvent) {
        case EVENT_OBJECT_FOCUS:
            event(this, kFocusChangedEvent);
            break;
        case EVENT_OBJECT_INVOKED:
            event(this, kInvokedEvent);
            break;
        case EVENT_OBJECT_VALUECHANGE:
            PutText(now, face_->Value());
            changed(this, UIA_ValueValuePropertyId, before, now);
            FreeBstr(now.bstrVal);
            break;
        case EVENT_OBJECT_STATECHANGE:
            if (!Offers(UIA_ExpandCollapsePatternId)) break;
            before.vt = now.vt = VT_I4;
            now.lVal = static_cast<long>(Expanded() ? ExpandCollapseState::Expanded
                                                    : ExpandCollapseState::Collapsed);
            before.lVal = static_cast<long>(Expanded() ? ExpandCollapseState::Collapsed
                                                       : ExpandCollapseState::Expanded);
            changed(this, UIA_ExpandCollapseExpandCollapseStatePropertyId, before, now);
            break;
    }
}

HRESULT AutomationProvider::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (id == __uuidof(IUnknown) || id == __uuidof(IRawElementProviderSimple))
        *object = static_cast<IRawElementProviderSimple*>(this);
    else if (id == __uuidof(IValueProvider) && Offers(UIA_ValuePatternId))
        *object = static_cast<IValueProvider*>(this);
    else if (id == __uuidof(IExpandCollapseProvider) && Offers(UIA_ExpandCollapsePatternId))
        *object = static_cast<IExpandCollapseProvider*>(this);
    else if (id == __uuidof(IInvokeProvider) && Offers(UIA_InvokePatternId))
        *object = static_cast<IInvokeProvider*>(this);
    else if (id == __uuidof(ISelectionProvider) && Offers(UIA_SelectionPatternId))
        *object = static_cast<ISelectionProvider*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG AutomationProvider::Release() {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

bool AutomationProvider::Offers(PATTERNID pattern) const {
    if (!face_) return false;
    const long type = ControlTypeOf(face_->Role());
    switch (pattern) {
        case UIA_ValuePatternId:
        case UIA_ExpandCollapsePatternId:
        case UIA_SelectionPatternId:
            return type == kComboBoxControlType;
        case UIA_InvokePatternId:
            return type == kButtonControlType;
    }
    return false;
}

HRESULT AutomationProvider::get_ProviderOptions(ProviderOptions* options) {
    if (!options) return E_POINTER;
    *options =
        static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
    return S_OK;
}

HRESULT AutomationProvider::GetPatternProvider(PATTERNID pattern, IUnknown** provider) {
    if (!provider) return E_POINTER;
    *provider = nullptr;
    if (!face_) return kElementNotAvailable;
    if (!Offers(pattern)) return S_OK;
    AddRef();
    *provider = static_cast<IRawElementProviderSimple*>(this);
    return S_OK;
}

HRESULT AutomationProvider::GetPropertyValue(PROPERTYID property, VARIANT* value) {
    if (!value) return E_POINTER;
    *value = VARIANT{};
    if (!face_) return kElementNotAvailable;
    HWND window = face_->AccessibleWindow();
    switch (property) {
        case UIA_ControlTypePropertyId:
            value->vt = VT_I4;
            value->lVal = ControlTypeOf(face_->Role());
            return S_OK;
        case UIA_NamePropertyId:
            return PutText(*value, face_->Name());
        case UIA_AutomationIdPropertyId:
            return PutText(*value, std::to_wstring(GetDlgCtrlID(window)));
        case UIA_IsKeyboardFocusablePropertyId:
            return PutFlag(*value, (face_->State() & STATE_SYSTEM_FOCUSABLE) != 0);
        case UIA_HasKeyboardFocusPropertyId:
            return PutFlag(*value, (face_->State() & STATE_SYSTEM_FOCUSED) != 0);
        case UIA_IsEnabledPropertyId:
            return PutFlag(*value, IsWindowEnabled(window) != FALSE);
    }
    return S_OK;
}

HRESULT AutomationProvider::get_HostRawElementProvider(IRawElementProviderSimple** host) {
    if (!host) return E_POINTER;
    *host = nullptr;
    if (!face_) return kElementNotAvailable;
    static const auto fromWindow = Core<HostProviderFromHwnd>("UiaHostProviderFromHwnd");
    return fromWindow ? fromWindow(face_->AccessibleWindow(), host) : S_OK;
}

HRESULT AutomationProvider::SetValue(LPCWSTR value) {
    if (!face_) return kElementNotAvailable;
    return face_->SetValue(value ? value : L"") ? S_OK : kElementNotEnabled;
}

HRESULT AutomationProvider::get_Value(BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (!face_) return kElementNotAvailable;
    *value = BstrOf(face_->Value());
    return S_OK;
}

HRESULT AutomationProvider::get_IsReadOnly(BOOL* readOnly) {
    if (!readOnly) return E_POINTER;
    *readOnly = FALSE;
    return face_ ? S_OK : kElementNotAvailable;
}

HRESULT AutomationProvider::ExpandOrCollapse(bool expand) {
    if (!face_) return kElementNotAvailable;
    if (Expanded() != expand) face_->DoDefaultAction();
    return S_OK;
}

HRESULT AutomationProvider::get_ExpandCollapseState(ExpandCollapseState* state) {
    if (!state) return E_POINTER;
    if (!face_) return kElementNotAvailable;
    *state = Expanded() ? ExpandCollapseState::Expanded : ExpandCollapseState::Collapsed;
    return S_OK;
}

HRESULT AutomationProvider::Invoke() {
    if (!face_) return kElementNotAvailable;
    face_->DoDefaultAction();
    return S_OK;
}

HRESULT AutomationProvider::GetSelection(SAFEARRAY** selection) {
    if (!selection) return E_POINTER;
    *selection = nullptr;
    if (!face_) return kElementNotAvailable;
    static const auto create =
        LateBound<decltype(&SafeArrayCreateVector)>(L"oleaut32.dll", "SafeArrayCreateVector");
    static const auto put = LateBound<decltype(&SafeArrayPutElement)>(L"oleaut32.dll", "SafeArrayPutElement");
    const long chosen = face_->Chosen();
    if (!create || !put || !(*selection = create(VT_UNKNOWN, 0, chosen >= 0 ? 1 : 0))) return E_OUTOFMEMORY;
    if (chosen < 0) return S_OK;
    auto* entry = new (std::nothrow) ChosenEntry(*this, chosen);
    if (!entry) return E_OUTOFMEMORY;
    LONG first = 0;
    const HRESULT result = put(*selection, &first, static_cast<IRawElementProviderSimple*>(entry));
    entry->Release();  // the array holds its own reference
    return result;
}

HRESULT AutomationProvider::get_CanSelectMultiple(BOOL* multiple) {
    if (!multiple) return E_POINTER;
    *multiple = FALSE;
    return face_ ? S_OK : kElementNotAvailable;
}

HRESULT AutomationProvider::get_IsSelectionRequired(BOOL* required) {
    if (!required) return E_POINTER;
    *required = FALSE;
    return face_ ? S_OK : kElementNotAvailable;
}

}  // namespace tastolink
