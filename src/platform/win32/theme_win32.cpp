#include "platform/win32/theme_win32.h"

#include <map>
#include <vector>

#include "base/barrier.h"
#include "platform/platform.h"

namespace zrt::platform {

namespace {

struct Painted {
    WindowTheme theme;
    HBRUSH background = nullptr;  // the window's face
    HBRUSH field = nullptr;       // edit fields and buttons
};

struct ThemeState {
    Themer themer;
    std::map<HWND, Painted> windows;
};

ThemeState& themeState() {
    static ThemeState s;
    return s;
}

void dropBrushes(Painted& p) {
    if (p.background) DeleteObject(p.background);
    if (p.field) DeleteObject(p.field);
    p.background = p.field = nullptr;
}

void apply(HWND window, const WindowTheme& theme) {
    Painted& p = themeState().windows[window];
    dropBrushes(p);
    p.theme = theme;
    if (theme.dark) {
        p.background = CreateSolidBrush(theme.colours.background);
        p.field = CreateSolidBrush(theme.colours.softerBackground);
    }
}

// The record of a window of ours or of the top-level window a control is in.
Painted* paintedFor(HWND window) {
    auto& w = themeState().windows;
    for (HWND h = window; h; h = GetParent(h)) {
        const auto it = w.find(h);
        if (it != w.end()) return &it->second;
        if (!(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

// The safe call of the themer: what it throws leaves the window plain.
WindowTheme askThemer(HWND window, bool changed) {
    const Themer& themer = themeState().themer;
    if (!themer) return {};
    return barrier("Themer", WindowTheme{}, [&] { return themer(window, changed); });
}

}  // namespace

void setThemer(Themer themer) {
    themeState().themer = std::move(themer);
}

void rethemeWindows() {
    std::vector<HWND> open;
    for (const auto& [window, painted] : themeState().windows) open.push_back(window);
    for (HWND window : open) {
        if (!IsWindow(window)) continue;
        apply(window, askThemer(window, true));
        RedrawWindow(window, nullptr, nullptr,
                     RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

WindowTheme windowTheme(WindowHandle window) {
    const Painted* p = paintedFor(static_cast<HWND>(window));
    return p ? p->theme : WindowTheme{};
}

void themeWindowOpened(HWND window) {
    if (window) apply(window, askThemer(window, false));
}

void themeWindowClosed(HWND window) {
    auto& w = themeState().windows;
    const auto it = w.find(window);
    if (it == w.end()) return;
    dropBrushes(it->second);
    w.erase(it);
}

bool darkFace(HWND window, COLORREF& colour) {
    const Painted* p = paintedFor(window);
    if (!p || !p->theme.dark) return false;
    colour = p->theme.colours.background;
    return true;
}

bool themeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const auto it = themeState().windows.find(window);
    if (it == themeState().windows.end() || !it->second.theme.dark) return false;
    const Painted& p = it->second;
    const DarkColours& c = p.theme.colours;
    const HDC dc = reinterpret_cast<HDC>(wParam);
    switch (message) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(window, &r);
            FillRect(dc, &r, p.background);
            result = 1;
            return true;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // A read-only text box asks as a static one: it keeps the field colour.
            wchar_t cls[16] = {0};
            GetClassNameW(reinterpret_cast<HWND>(lParam), cls, 16);
            const bool field = message == WM_CTLCOLORSTATIC && lstrcmpiW(cls, L"Edit") == 0;
            SetTextColor(dc, c.text);
            SetBkColor(dc, field ? c.softerBackground : c.background);
            result = reinterpret_cast<LRESULT>(field ? p.field : p.background);
            return true;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            SetTextColor(dc, c.text);
            SetBkColor(dc, c.softerBackground);
            result = reinterpret_cast<LRESULT>(p.field);
            return true;
        default:
            return false;
    }
}

}  // namespace zrt::platform
