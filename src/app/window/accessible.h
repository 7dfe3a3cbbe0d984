#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <oleacc.h>

#include <string>

namespace tastolink {

// What a control of the program tells assistive technology about itself: a role, a name, a
// value, a state and a default action, and as many simple children (list items) as it has,
// numbered from 1. The accessible object asks at every question, so it is always current.
class AccessibleFace {
public:
    virtual ~AccessibleFace() = default;
    virtual HWND AccessibleWindow() const = 0;
    virtual long Role() const = 0;
    virtual std::wstring Name() const = 0;
    virtual std::wstring Value() const { return {}; }
    virtual long State() const = 0;
    virtual std::wstring DefaultAction() const { return {}; }
    virtual void DoDefaultAction() {}

    // What UI Automation adds: a value set by a client (false where the control takes none), and
    // the entries offered to choose from, with the one chosen (-1 for none).
    virtual bool SetValue(const std::wstring& /*value*/) { return false; }
    virtual long Chosen() const { return -1; }
    virtual std::wstring ChoiceName(long /*index*/) const { return {}; }
    virtual void Choose(long /*index*/) {}

    virtual long ChildCount() const { return 0; }
    virtual std::wstring ChildName(long /*child*/) const { return {}; }
    virtual long ChildState(long /*child*/) const { return 0; }
    // The child's place in client pixels; false for one that is not shown.
    virtual bool ChildPlace(long /*child*/, RECT& /*place*/) const { return false; }
    // The child at a point of the client area, or CHILDID_SELF.
    virtual long ChildAt(POINT /*client*/) const { return CHILDID_SELF; }
};

class AutomationProvider;

// The IAccessible of one control and its UI Automation provider, each made at the first
// WM_GETOBJECT that asks for it (OBJID_CLIENT, UiaRootObjectId). The control answers WM_GETOBJECT
// through Answer and lets go at WM_DESTROY: a client that still holds an object then gets
// RPC_E_DISCONNECTED or UIA_E_ELEMENTNOTAVAILABLE for every question.
class AccessibleObject {
public:
    explicit AccessibleObject(AccessibleFace& face) : face_(face) {}
    ~AccessibleObject() { Disconnect(); }
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    // The answer to WM_GETOBJECT; 0 for the objects the system gives (the window, its frame).
    LRESULT Answer(WPARAM wParam, LPARAM lParam);
    void Disconnect();
    // A WinEvent about the control itself, and the UI Automation event that goes with it.
    void Raise(DWORD event);

private:
    AccessibleFace& face_;
    class Object;
    Object* object_ = nullptr;
    AutomationProvider* provider_ = nullptr;
};

// A WinEvent about the control's own object (child 0) or one of its children.
inline void RaiseEvent(DWORD event, HWND window, long child = CHILDID_SELF) {
    NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

// A text as COM hands it over, and its release; nullptr for an empty text.
BSTR BstrOf(const std::wstring& text);
void FreeBstr(BSTR text);

}  // namespace tastolink
