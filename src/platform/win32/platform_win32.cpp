#include <windows.h>

#include <cstring>
#include <cwchar>

#include "api/text16.h"
#include "platform/platform.h"

namespace zrt::platform {

namespace {

std::wstring wide(std::string_view utf8) {
    const std::u16string u = toUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

std::string narrow(const wchar_t* text, std::size_t n) {
    return fromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), n));
}

HMODULE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

}  // namespace

int messageBox(std::string_view text, std::string_view title, Buttons buttons, Icon icon,
               int defaultAnswer) {
    UINT flags = MB_SETFOREGROUND | MB_TASKMODAL;
    switch (buttons) {
        case Buttons::Ok: flags |= MB_OK; break;
        case Buttons::YesNo: flags |= MB_YESNO; break;
        case Buttons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    switch (icon) {
        case Icon::None: break;
        case Icon::Information: flags |= MB_ICONINFORMATION; break;
        case Icon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case Icon::Error: flags |= MB_ICONERROR; break;
        case Icon::Question: flags |= MB_ICONQUESTION; break;
    }
    if (defaultAnswer == kIdNo) flags |= MB_DEFBUTTON2;
    if (defaultAnswer == kIdCancel && buttons == Buttons::YesNoCancel) flags |= MB_DEFBUTTON3;
    return MessageBoxW(nullptr, wide(text).c_str(), wide(title).c_str(), flags);
}

void debugOutput(std::string_view text) { OutputDebugStringW(wide(text).c_str()); }

std::uint32_t tickCount() { return GetTickCount(); }

std::string modulePath() {
    wchar_t buf[32768];
    const DWORD n = GetModuleFileNameW(thisModule(), buf, 32768);
    return narrow(buf, n);
}

}  // namespace zrt::platform

namespace zrt::platform {

void setClipboardText(std::string_view text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    const std::wstring w = wide(text);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t));
    if (mem) {
        void* dst = GlobalLock(mem);
        std::memcpy(dst, w.c_str(), (w.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
    }
    CloseClipboard();
}

std::string clipboardText() {
    std::string out;
    if (!OpenClipboard(nullptr)) return out;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            out = narrow(p, wcslen(p));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return out;
}

}  // namespace zrt::platform
