#pragma once

#include <windows.h>

#include "app/window/accessible.h"
#include "app/window/automation_patterns.h"

namespace tastolink {

// The UI Automation face of one control, read from the same AccessibleFace as its MSAA object:
// the control type follows the role (a combo box, a push button, a list), with the patterns of
// that type: a combo box takes Value, ExpandCollapse and Selection, its chosen entry standing as a
// list item with SelectionItem; a push button takes Invoke. Where, parent and neighbours come from
// the system's provider of the window. Made at the first WM_GETOBJECT for UiaRootObjectId; after
// Disconnect every question gets UIA_E_ELEMENTNOTAVAILABLE.
class AutomationProvider final : public IRawElementProviderSimple,
                                 public IValueProvider,
                                 public IExpandCollapseProvider,
                                 public IInvokeProvider,
                                 public ISelectionProvider {
public:
    explicit AutomationProvider(AccessibleFace& face) : face_(&face) {}
    AutomationProvider(const AutomationProvider&) = delete;
    AutomationProvider& operator=(const AutomationProvider&) = delete;

    // The answer to WM_GETOBJECT for UiaRootObjectId.
    LRESULT Answer(WPARAM wParam, LPARAM lParam);
    void Disconnect() { face_ = nullptr; }
    // The UI Automation event that goes with a WinEvent about the control itself, raised for the
    // clients that listen: the focus, a new value, the list dropped or closed.
    void Raise(DWORD winEvent);
    AccessibleFace* Face() const { return face_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override;

    // IRawElementProviderSimple
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override;
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override;
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override;

    // IValueProvider
    HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) override;

    // IExpandCollapseProvider
    HRESULT STDMETHODCALLTYPE Expand() override { return ExpandOrCollapse(true); }
    HRESULT STDMETHODCALLTYPE Collapse() override { return ExpandOrCollapse(false); }
    HRESULT STDMETHODCALLTYPE get_ExpandCollapseState(ExpandCollapseState* state) override;

    // IInvokeProvider
    HRESULT STDMETHODCALLTYPE Invoke() override;

    // ISelectionProvider
    HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** selection) override;
    HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* multiple) override;
    HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* required) override;

private:
    ~AutomationProvider() = default;
    bool Offers(PATTERNID pattern) const;
    bool Expanded() const { return (face_->State() & STATE_SYSTEM_EXPANDED) != 0; }
    HRESULT ExpandOrCollapse(bool expand);

    AccessibleFace* face_;
    LONG references_ = 1;  // the control's own
};

}  // namespace tastolink
