// The Options menu the plug-in adds to its submenu, and the window procedure
// it puts in front of the host's: menus, option toggles, tool-tip evaluation.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace zrt {

constexpr int kOptionCount = 15;
// Offsets of the Options entries from the base id.
enum OptionOffset {
    kOptPluginLog = 1,
    kOptShowErrors = 2,
    kOptShowDebugLog = 3,
    kOptSeparator = 4,
    kOptDecimals = 5,
    kOptShowCommands = 6,
    kOptSupportedFunctions = 7,
    kOptResetMemory = 8,
    kOptToolTip = 9,
    kOptHideSummary = 10,
    kOptNoConfirm = 11,
    kOptAcknowledgments = 12,
    kOptInstallHighlighting = 13,
    kOptEvalOnEqual = 14,
    kOptSelectionInStatus = 15,
};

std::intptr_t WindowProc(platform::WindowHandle window, unsigned message, std::uintptr_t wParam,
                         std::intptr_t lParam) noexcept;

void AddMenus(int pluginsIndex);
unsigned HostMaxMenuId(platform::WindowHandle window);
int MenuItemCheck(platform::MenuHandle menu, unsigned id, int state);
bool MenuItemSeparator(platform::MenuHandle menu, unsigned id);

// Puts the host's window procedure and the main view's dwell time back.
void RemoveMenus();

// Tool-tip evaluation of SCN_DWELLSTART at `position` of `view` (x and y of
// the mouse): the text comes from that view and the call tip shows there.
void dwellStart(platform::WindowHandle view, std::intptr_t position, int x, int y);
void dwellEnd();

}  // namespace zrt
