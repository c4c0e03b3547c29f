// Small helpers shared by the Windows implementation of the platform seam.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/text16.h"

namespace zrt::platform::win32 {

inline std::wstring wide(std::string_view utf8) {
    const std::u16string u = toUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

inline std::string narrow(const wchar_t* text, std::size_t n) {
    return fromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), n));
}

inline std::string narrow(const std::wstring& text) {
    return narrow(text.c_str(), text.size());
}

// The library's own module (Quillet.dll).
inline HMODULE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

}  // namespace zrt::platform::win32
