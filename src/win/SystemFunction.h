#pragma once

#include <windows.h>

// A function of a system library looked up by name at run time: for calls that older systems
// lack, and for a library loaded only when first needed. nullptr when there is no such function.
namespace quelvar::win {

template <typename Function>
Function SystemFunction(HMODULE library, const char* name) {
    if (!library) {
        return nullptr;
    }
    // Through the generic function pointer type, which any function pointer converts to and
    // from without a warning about the signatures.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace quelvar::win
