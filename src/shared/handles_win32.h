#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>
#include <uxtheme.h>

#include <utility>

#include "shared/late_bound_win32.h"

namespace tastolink {

// A handle of the system closed with its owner. `Kind` says what no handle is and how one is closed.
template <typename Kind>
class Owned {
public:
    using Handle = typename Kind::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Kind::None(); }
    // Closes the handle held, if any, and holds `handle` instead.
    void Reset(Handle handle = Kind::None()) {
        if (handle_ != Kind::None()) Kind::Close(handle_);
        handle_ = handle;
    }
    // Hands the handle over to the caller, who closes it.
    Handle Release() { return std::exchange(handle_, Kind::None()); }

private:
    Handle handle_ = Kind::None();
};

namespace handle_kinds {

// Events, waitable timers, threads, processes: nullptr is none.
struct Kernel {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

// What CreateFileW opens: INVALID_HANDLE_VALUE is none.
struct File {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

// A serial port: what still waits to go out is thrown away before it is closed, as a driver may
// otherwise hold the close until a stalled phone takes those bytes.
struct Port {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) {
        PurgeComm(handle, PURGE_TXABORT | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_RXCLEAR);
        CloseHandle(handle);
    }
};

struct RegistryKey {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { RegCloseKey(handle); }
};

// A search of FindFirstFileW.
struct Search {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { FindClose(handle); }
};

struct Theme {
    using Handle = HTHEME;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { CloseThemeData(handle); }
};

template <typename GdiHandle>
struct Gdi {
    using Handle = GdiHandle;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { DeleteObject(handle); }
};

}  // namespace handle_kinds

using KernelHandle = Owned<handle_kinds::Kernel>;
using FileHandle = Owned<handle_kinds::File>;
using PortHandle = Owned<handle_kinds::Port>;
using RegistryKey = Owned<handle_kinds::RegistryKey>;
using SearchHandle = Owned<handle_kinds::Search>;
using ThemeData = Owned<handle_kinds::Theme>;
// A font, a brush, a bitmap: deleted once nothing draws with it any more.
template <typename Handle>
using GdiObject = Owned<handle_kinds::Gdi<Handle>>;

// COM started on this thread in an apartment of its own, and ended with the object. ole32.dll is
// taken as COM starts rather than linked in: a DLL linked in is loaded before the program's first
// line, and under Wine this one costs the start milliseconds.
class ComApartment {
public:
    ComApartment() {
        const auto initialize = LateBound<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        started_ = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    }
    ~ComApartment() {
        if (!started_) return;
        if (const auto end = LateBound<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize")) end();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // False where the system has no COM, or the thread had started it for another kind of apartment.
    bool Started() const { return started_; }

private:
    bool started_ = false;
};

}  // namespace tastolink
