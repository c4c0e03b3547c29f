// Notepad++'s dark mode on the plug-in's windows (plots, the messages window
// and text viewer, the Decimals dialog, the progress window): each asks the
// host when it opens, and open ones follow when the user switches.
#pragma once

#include <cstdint>

namespace zrt {

// NPPM_DARKMODESUBCLASSANDTHEME flags: a window opens, or the mode changed.
constexpr std::uintptr_t kDarkModeInit = 0x0B;
constexpr std::uintptr_t kDarkModeHandleChange = 0x0C;

// From setInfo on, our windows ask the host for their theme.
void followHostDarkMode();

// NPPN_DARKMODECHANGED: every open window of ours is themed again.
void darkModeChanged();

// A notification from the host (beNotified).
void pluginNotified(const void* notification);

}  // namespace zrt
