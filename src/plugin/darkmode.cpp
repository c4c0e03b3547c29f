#include "plugin/darkmode.h"

#include "platform/platform.h"
#include "plugin/nppinterface.h"
#include "plugin/state.h"
#include "log/pluginlog.h"

namespace zrt {

namespace {

// NppDarkMode::Colors: twelve COLORREFs; the host checks the size it is given.
static_assert(sizeof(platform::DarkColours) == 12 * 4, "the host's colours record");

// A host that does not know the messages (an older Notepad++) answers 0 to
// each: its windows stay as the system draws them.
platform::WindowTheme hostTheme(platform::WindowHandle window, bool changed) {
    platform::WindowTheme theme;
    const platform::WindowHandle host = pluginState().npp._nppHandle;
    if (!host) return theme;
    theme.dark = platform::sendMessage(host, npp::NPPM_ISDARKMODEENABLED, 0, 0) != 0;
    if (theme.dark) {
        platform::DarkColours colours;
        if (platform::sendMessage(host, npp::NPPM_GETDARKMODECOLORS, sizeof colours,
                                  reinterpret_cast<std::intptr_t>(&colours)))
            theme.colours = colours;
    }
    // The host themes the window's controls (and puts a light window back).
    if (theme.dark || changed)
        platform::sendMessage(host, npp::NPPM_DARKMODESUBCLASSANDTHEME,
                              changed ? kDarkModeHandleChange : kDarkModeInit,
                              reinterpret_cast<std::intptr_t>(window));
    return theme;
}

}  // namespace

void followHostDarkMode() {
    platform::setThemer(&hostTheme);
}

void darkModeChanged() {
    pluginLog("darkModeChanged", ": the host switched its dark mode");
    platform::rethemeWindows();
}

void pluginNotified(const void* notification) {
    if (!notification) return;
    const auto* header = static_cast<const npp::NotifyHeader*>(notification);
    if (header->code == npp::NPPN_DARKMODECHANGED &&
        header->hwndFrom == pluginState().npp._nppHandle)
        darkModeChanged();
}

}  // namespace zrt
