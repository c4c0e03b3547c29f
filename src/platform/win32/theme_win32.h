// The host's dark mode on the library's own windows: each top-level window
// asks the themer when it opens, and its window procedure paints its
// background and its controls' colours from the theme it got.
#pragma once

#include <windows.h>

namespace zrt::platform {

// A window of ours opens (controls made, not shown yet) or is destroyed.
void themeWindowOpened(HWND window);
void themeWindowClosed(HWND window);

// The dark background of `window` (a top-level window of ours, or one of its
// controls); false for a plain window.
bool darkFace(HWND window, COLORREF& colour);

// WM_ERASEBKGND and the WM_CTLCOLOR... messages of a dark window: true with
// the answer in `result` when handled; plain windows are left to the system.
bool themeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace zrt::platform
