// Dark mode without a screen: the library's windows are handles of their own
// (plot windows and messages windows), each asking the themer when it opens
// and on a change; tests read the theme each one got.
#include <map>

#include "platform/headless/headless.h"

namespace zrt::headless {

namespace {

struct ThemeState {
    platform::Themer themer;
    std::map<platform::WindowHandle, platform::WindowTheme> open;
};

ThemeState& themeState() {
    static ThemeState s;
    return s;
}

// Handles nobody dereferences: a range for plot windows, one for messages windows.
constexpr std::uintptr_t kPlotHandleBase = 0x51000;
constexpr std::uintptr_t kMessagesHandle = 0x52000;

}  // namespace

platform::WindowHandle plotWindowHandle(int number) {
    return reinterpret_cast<platform::WindowHandle>(kPlotHandleBase +
                                                    static_cast<std::uintptr_t>(number));
}

platform::WindowHandle messagesWindowHandle() {
    return reinterpret_cast<platform::WindowHandle>(kMessagesHandle);
}

platform::WindowTheme windowOpened(platform::WindowHandle window) {
    ThemeState& s = themeState();
    platform::WindowTheme theme;
    if (s.themer) theme = s.themer(window, false);
    s.open[window] = theme;
    return theme;
}

void windowClosed(platform::WindowHandle window) {
    themeState().open.erase(window);
}

void resetThemes() {
    themeState() = ThemeState{};
}

}  // namespace zrt::headless

namespace zrt::platform {

void setThemer(Themer themer) {
    headless::themeState().themer = std::move(themer);
}

void rethemeWindows() {
    auto& s = headless::themeState();
    if (!s.themer) return;
    for (auto& [window, theme] : s.open) theme = s.themer(window, true);
}

WindowTheme windowTheme(WindowHandle window) {
    const auto& open = headless::themeState().open;
    const auto it = open.find(window);
    return it == open.end() ? WindowTheme{} : it->second;
}

}  // namespace zrt::platform
