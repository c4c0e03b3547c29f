// Notepad++'s dark mode on the plug-in's windows: asked when a window opens,
// themed by the host, followed when the user switches.
#include "plugin/darkmode.h"

#include "plugin/nppinterface.h"
#include "support/plugin_fixture.h"
#include "ui/plot.h"

using namespace zrt;

class DarkModeTest : public PluginTest {
   protected:
    // A plot window from the editor, as a user makes one.
    void plotFromTheEditor() {
        host->main.text = "Plot = x^2 ; 0 ; x ; 1 ; 10";
        host->main.select(0, static_cast<std::intptr_t>(host->main.text.size()));
        host->runItem(4);
    }
    std::size_t themedCount(void* window, std::uintptr_t flags) const {
        std::size_t n = 0;
        for (const auto& t : host->themed) n += t.window == window && t.flags == flags;
        return n;
    }
};

TEST_F(DarkModeTest, WindowsFollowTheHost) {
    const struct {
        const char* name;
        fake::Generation generation;
        bool darkAtStart;
        bool dark;  // what the windows get
    } cases[] = {
        {"today's host, dark", fake::Generation::Today, true, true},
        {"today's host, light", fake::Generation::Today, false, false},
        {"older host: no dark-mode messages", fake::Generation::Old, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        generation = c.generation;
        restart("[Quillet]\r\nDon't confirm Expr=1\r\n");
        host->darkMode = c.darkAtStart;
        host->darkColours[0] = 0x112233;  // the host's own background
        plotFromTheEditor();
        void* plot = headless::plotWindowHandle(1);
        ASSERT_TRUE(platform::plotWindowExists(1));
        const platform::WindowTheme theme = platform::windowTheme(plot);
        EXPECT_EQ(theme.dark, c.dark);
        EXPECT_EQ(theme.colours.background,
                  c.dark ? 0x112233u : platform::DarkColours{}.background);
        EXPECT_EQ(themedCount(plot, kDarkModeInit), c.dark ? 1u : 0u);

        host->runItem(10);  // About Quillet: the messages window
        ASSERT_FALSE(headless::messagesWindows().empty());
        EXPECT_EQ(headless::messagesWindows().back().theme.dark, c.dark);
        EXPECT_EQ(themedCount(headless::messagesWindowHandle(), kDarkModeInit), c.dark ? 1u : 0u);
    }
}

TEST_F(DarkModeTest, OpenWindowsFollowASwitch) {
    start("[Quillet]\r\nDon't confirm Expr=1\r\n");
    plotFromTheEditor();
    void* plot = headless::plotWindowHandle(1);
    EXPECT_FALSE(platform::windowTheme(plot).dark);
    EXPECT_TRUE(host->themed.empty());
    const Image light = headless::plotWindowImage(1);
    ASSERT_FALSE(light.empty());

    host->switchDarkMode(true);
    EXPECT_TRUE(platform::windowTheme(plot).dark);
    EXPECT_EQ(themedCount(plot, kDarkModeHandleChange), 1u);
    // The plot picture keeps its colours (it is what a JPEG file gets).
    EXPECT_EQ(headless::plotWindowImage(1).pixels, light.pixels);

    host->switchDarkMode(false);
    EXPECT_FALSE(platform::windowTheme(plot).dark);
    EXPECT_EQ(themedCount(plot, kDarkModeHandleChange), 2u);

    // Another sender's notification with the same code changes nothing.
    npp::NotifyHeader other{&host->main, 0, npp::NPPN_DARKMODECHANGED};
    host->darkMode = true;
    beNotified(&other);
    EXPECT_FALSE(platform::windowTheme(plot).dark);
    beNotified(nullptr);
}
