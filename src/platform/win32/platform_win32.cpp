#include <windows.h>

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

#include <commdlg.h>

#include "platform/platform.h"
#include "platform/win32/theme_win32.h"
#include "platform/win32/win32_util.h"

namespace zrt::platform {

using win32::narrow;
using win32::thisModule;
using win32::wide;

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

std::string clipboardFault() { return {}; }

}  // namespace zrt::platform

namespace zrt::platform {

namespace {

// "Text (*.txt)|*.txt|All files (*.*)|*.*" as the dialog wants it: parts
// separated by zeros, ended by two zeros.
std::wstring dialogFilter(std::string_view filter) {
    std::wstring w = wide(filter);
    for (wchar_t& c : w)
        if (c == L'|') c = L'\0';
    w.push_back(L'\0');
    w.push_back(L'\0');
    return w;
}

std::string fileDialog(std::string_view title, std::string_view filter, bool save) {
    wchar_t file[32768] = {0};
    const std::wstring t = wide(title);
    const std::wstring f = dialogFilter(filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = f.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = 32768;
    ofn.lpstrTitle = t.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    return ok ? narrow(file, wcslen(file)) : std::string();
}

// The progress window: a bar of "|" characters and the percentage.
struct ProgressWindow {
    HWND window = nullptr;
    HWND label = nullptr;
    bool interrupted = false;
};

ProgressWindow& progressWindow() {
    static ProgressWindow p;
    return p;
}

LRESULT CALLBACK progressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT themed = 0;
    if (themeMessage(hwnd, msg, wp, lp, themed)) return themed;
    switch (msg) {
        case WM_NCDESTROY:
            themeWindowClosed(hwnd);
            return DefWindowProcW(hwnd, msg, wp, lp);
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_CLOSE:
            progressWindow().interrupted = true;
            return 0;
        default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

HWND openProgressWindow() {
    static bool registered = false;
    const HINSTANCE inst = thisModule();
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = progressProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"QuilletProgress";
        registered = RegisterClassW(&wc) != 0;
    }
    const int w = 200, h = 50;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"QuilletProgress", L"Quillet",
                                WS_POPUP | WS_BORDER | WS_VISIBLE, x, y, w, h, nullptr, nullptr, inst,
                                nullptr);
    progressWindow().label = CreateWindowExW(0, L"STATIC", L"||||||||||", WS_CHILD | WS_VISIBLE,
                                             5, 5, w - 10, h - 10, hwnd, nullptr, inst, nullptr);
    themeWindowOpened(hwnd);
    return hwnd;
}

}  // namespace

std::string openFileDialog(std::string_view title, std::string_view filter) {
    return fileDialog(title, filter, false);
}

std::string saveFileDialog(std::string_view title, std::string_view filter) {
    return fileDialog(title, filter, true);
}

std::string ansiToUtf8(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &w[0], n);
    return narrow(w.c_str(), w.size());
}

void showTextScreen(std::string_view text) {
    MessageBoxW(GetActiveWindow(), wide(text).c_str(), L"Quillet", MB_OK | MB_SETFOREGROUND);
}

bool progress(int line, int lineCount, bool show, std::string_view) {
    ProgressWindow& p = progressWindow();
    if (!show) {
        if (p.window) DestroyWindow(p.window);
        p = ProgressWindow{};
        return true;
    }
    if (!p.window) p.window = openProgressWindow();
    if (!p.window) return true;
    const double percent = lineCount > 0 ? 100.0 * line / lineCount : 100.0;
    wchar_t text[64];
    const int bars = static_cast<int>(percent / 10 + 0.5);
    std::wstring bar(static_cast<std::size_t>(bars < 0 ? 0 : bars > 10 ? 10 : bars), L'|');
    swprintf(text, 64, L"%ls  %.1f %%", bar.c_str(), percent);
    SetWindowTextW(p.label, text);
    // Keep the window (and the editor behind it) alive during the run.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (p.interrupted) {
        p.interrupted = false;
        if (MessageBoxW(p.window, L"Continue?", L"Quillet", MB_YESNO | MB_ICONQUESTION) == IDNO)
            return false;
    }
    return true;
}

}  // namespace zrt::platform
