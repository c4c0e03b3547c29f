// The host editor's windows and menus through the Windows API: messages,
// the subclass of the main window, and the menu calls of the Options menu.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/platform.h"
#include "base/barrier.h"
#include "platform/win32/win32_util.h"

namespace zrt::platform {

namespace {

struct Subclass {
    HWND window = nullptr;
    WNDPROC previous = nullptr;
    WindowProcedure procedure = nullptr;
};

Subclass& subclass() {
    static Subclass s;
    return s;
}

LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Subclass& s = subclass();
    if (hwnd == s.window && s.procedure) {
        // The library's procedure catches everything itself; this is the last guard,
        // since nothing may leave a window procedure of the editor.
        const std::optional<LRESULT> answer =
            barrier("WindowProc", std::optional<LRESULT>{},
                    [&] { return std::optional<LRESULT>(s.procedure(hwnd, message, wParam, lParam)); });
        if (answer) return *answer;
    }
    return s.previous ? CallWindowProcW(s.previous, hwnd, message, wParam, lParam)
                      : DefWindowProcW(hwnd, message, wParam, lParam);
}

HMENU menu(MenuHandle m) {
    return static_cast<HMENU>(m);
}

}  // namespace

std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    if (!window) return 0;
    return SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
}

std::intptr_t subclassWindow(WindowHandle window, WindowProcedure procedure) {
    Subclass& s = subclass();
    HWND hwnd = static_cast<HWND>(window);
    if (s.window || !procedure || !hwnd || !IsWindow(hwnd)) return 0;
    s.procedure = procedure;
    s.window = hwnd;
    SetLastError(0);
    const LONG_PTR old =
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProc));
    if (!old && GetLastError() != 0) {
        s = Subclass{};
        return 0;
    }
    s.previous = reinterpret_cast<WNDPROC>(old);
    return old;
}

std::intptr_t callPreviousProcedure(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    const Subclass& s = subclass();
    HWND hwnd = static_cast<HWND>(window);
    if (s.previous) return CallWindowProcW(s.previous, hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool restoreWindowProcedure(WindowHandle window) {
    Subclass& s = subclass();
    if (!s.window || s.window != static_cast<HWND>(window)) return false;
    bool ok = true;
    if (IsWindow(s.window))
        ok = SetWindowLongPtrW(s.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previous)) != 0;
    s = Subclass{};
    return ok;
}

MenuHandle windowMenu(WindowHandle window) {
    return GetMenu(static_cast<HWND>(window));
}

int menuItemCount(MenuHandle m) {
    return m ? GetMenuItemCount(menu(m)) : -1;
}

MenuHandle subMenu(MenuHandle m, int position) {
    return m && position >= 0 ? GetSubMenu(menu(m), position) : nullptr;
}

int menuItemId(MenuHandle m, int position) {
    if (!m || position < 0) return -1;
    const UINT id = GetMenuItemID(menu(m), position);
    return id == static_cast<UINT>(-1) ? -1 : static_cast<int>(id);
}

std::string menuString(MenuHandle m, unsigned item, bool byPosition, int maxChars) {
    if (!m || maxChars <= 0) return {};
    std::wstring buf(static_cast<std::size_t>(maxChars) + 1, L'\0');
    const int n =
        GetMenuStringW(menu(m), item, &buf[0], maxChars, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    return n > 0 ? win32::narrow(buf.c_str(), static_cast<std::size_t>(n)) : std::string();
}

MenuHandle createPopupMenu() {
    return CreatePopupMenu();
}

bool insertMenuItem(MenuHandle m, int position, unsigned id, std::string_view text,
                    MenuHandle popup) {
    if (!m) return false;
    std::wstring caption = win32::wide(text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | (popup ? MIIM_SUBMENU : 0u);
    info.fType = MFT_STRING;
    info.wID = id;
    info.hSubMenu = menu(popup);
    info.dwTypeData = &caption[0];
    const int count = GetMenuItemCount(menu(m));
    const UINT at =
        position < 0 || position > count ? static_cast<UINT>(count) : static_cast<UINT>(position);
    return InsertMenuItemW(menu(m), at, TRUE, &info) != 0;
}

bool makeMenuSeparator(MenuHandle m, unsigned id) {
    if (!m) return false;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    return SetMenuItemInfoW(menu(m), id, FALSE, &info) != 0;
}

int menuItemChecked(MenuHandle m, unsigned id) {
    if (!m) return -1;
    const UINT state = GetMenuState(menu(m), id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) return -1;
    return (state & MF_CHECKED) ? 1 : 0;
}

bool setMenuItemChecked(MenuHandle m, unsigned id, bool checked) {
    if (!m) return false;
    return CheckMenuItem(menu(m), id,
                         static_cast<UINT>(MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED))) !=
           static_cast<DWORD>(-1);
}

std::string lastSystemErrorText() {
    const DWORD code = GetLastError();
    if (code == 0) return {};
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string out = n && text ? win32::narrow(text, n) : std::string();
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
        out.pop_back();
    return out;
}

}  // namespace zrt::platform
