#pragma once

// The UI Automation patterns a control of the program offers, the identifiers it answers with and
// the provider functions of uiautomationcore.dll, declared as the Windows SDK has them: mingw-w64's
// headers stop at the simple provider, and its uiautomationcoreapi.h is no C++ (a parameter named
// "new").
#include <windows.h>
// After windows.h, which they need.
#include <ole2.h>
#include <uiautomationclient.h>
#include <uiautomationcore.h>

namespace tastolink {

enum class ExpandCollapseState { Collapsed = 0, Expanded = 1, PartiallyExpanded = 2, LeafNode = 3 };

struct IValueProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) = 0;
};

struct IExpandCollapseProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Expand() = 0;
    virtual HRESULT STDMETHODCALLTYPE Collapse() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ExpandCollapseState(ExpandCollapseState* state) = 0;
};

struct IInvokeProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};

struct ISelectionProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** selection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* multiple) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* required) = 0;
};

struct ISelectionItemProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Select() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* selected) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** container) = 0;
};

inline constexpr int kButtonControlType = 50000;
inline constexpr int kComboBoxControlType = 50003;
inline constexpr int kListControlType = 50008;
inline constexpr int kListItemControlType = 50007;
inline constexpr int kFocusChangedEvent = 20005;
inline constexpr int kInvokedEvent = 20009;
inline constexpr int kElementSelectedEvent = 20012;
inline constexpr HRESULT kInvalidOperation = static_cast<HRESULT>(0x80131509);
inline constexpr HRESULT kElementNotEnabled = static_cast<HRESULT>(0x80040200);
inline constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);
inline constexpr long kUiaRootObjectId = -25;

using ReturnRawElementProvider = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
using RaiseAutomationEvent = HRESULT(WINAPI*)(IRawElementProviderSimple*, int);
using RaisePropertyChangedEvent = HRESULT(WINAPI*)(IRawElementProviderSimple*, PROPERTYID, VARIANT, VARIANT);

}  // namespace tastolink

__CRT_UUID_DECL(tastolink::IValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb,
                0xf6, 0x4a)
__CRT_UUID_DECL(tastolink::IExpandCollapseProvider, 0xd847d3a5, 0xcab0, 0x4a98, 0x8c, 0x32, 0xec, 0xb4, 0x5c,
                0x59, 0xad, 0x24)
__CRT_UUID_DECL(tastolink::IInvokeProvider, 0x54fcb24b, 0xe18e, 0x47a2, 0xb4, 0xd3, 0xec, 0xcb, 0xe7, 0x75,
                0x99, 0xa2)
__CRT_UUID_DECL(tastolink::ISelectionProvider, 0xfb8b03af, 0x3bdf, 0x48d4, 0xbd, 0x36, 0x1a, 0x65, 0x79, 0x3b,
                0xe1, 0x68)
__CRT_UUID_DECL(tastolink::ISelectionItemProvider, 0x2acad808, 0xb2d4, 0x452d, 0xa4, 0x07, 0x91, 0xff, 0x1a,
                0xd1, 0x67, 0xb2)
