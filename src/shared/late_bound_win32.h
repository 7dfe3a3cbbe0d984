#pragma once

#include <windows.h>

namespace tastolink {

// A function of a system DLL that the program needs only now and then (the accessible objects,
// the file dialogs, the device list, the command line), taken from its DLL at the first use: a DLL
// linked in is loaded at every start, and under Wine some of these cost the start milliseconds.
// Nullptr when the system lacks it.
template <typename Function>
Function LateBound(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

}  // namespace tastolink
