// The Options menu and the window procedure in front of the host's.
#include "plugin/menus.h"

#include "plugin/state.h"
#include "script/flags.h"
#include "support/plugin_fixture.h"
#include "log/pluginlog.h"
#include "log/trace.h"

using namespace zrt;

class MenusTest : public PluginTest {
   protected:
    std::string lastBox() const {
        const auto& shown = headless::shownMessages();
        return shown.empty() ? std::string() : shown.back().text;
    }
};
QUILLET_BOTH_HOSTS(MenusTest);

TEST_P(MenusTest, BuiltOnceWhenThePluginsMenuOpens) {
    start("[Quillet]\r\nDon't confirm Expr=1\r\nEval To ToolTip=1\r\nEval On Equal=1\r\n");
    host->openMenu(1);
    EXPECT_EQ(host->optionId("Decimals"), 0u);
    openPlugins();
    // The host's help menu ends at 47015: the entries follow 100 later.
    EXPECT_EQ(pluginState().optionsBaseId, 47115u);
    EXPECT_EQ(host->optionId("Plugin Log"), 47116u);
    EXPECT_EQ(host->optionId("Acknowledgments"), 47127u);
    // The later entries follow the specified ones, whose ids stay.
    EXPECT_EQ(host->optionId("Install script highlighting"), 47128u);
    EXPECT_EQ(host->optionId("Evaluate on ="), 47129u);
    EXPECT_EQ(host->optionId("Selection in status bar"), 47130u);
    openPlugins();
    host->openMenu(0);
    // One Options pop-up, before the separator above "About Quillet".
    const auto menu = host->quilletMenu();
    ASSERT_EQ(platform::menuItemCount(menu), 12);
    EXPECT_EQ(platform::menuString(menu, 9, true, 25), "Options");
    EXPECT_EQ(platform::menuString(menu, 11, true, 25), "About Quillet");
    const auto options = platform::subMenu(menu, 9);
    ASSERT_EQ(platform::menuItemCount(options), kOptionCount);
    EXPECT_EQ(platform::menuString(options, 3, true, 25), "");  // the separator
    EXPECT_EQ(platform::menuString(options, 11, true, 25), "Acknowledgments");
    const struct {
        const char* caption;
        bool checked;
    } marks[] = {{"Plugin Log", false},
                 {"Eval to Tooltip", true},
                 {"Don't show Summary", false},
                 {"Don't confirm Expr", true},
                 {"Decimals", false},
                 {"Evaluate on =", true},
                 {"Selection in status bar", false}};
    for (const auto& m : marks) EXPECT_EQ(host->optionChecked(m.caption), m.checked) << m.caption;
    // The host still sees its menu messages.
    EXPECT_EQ(host->menuSelectsSeen, 4);
}

TEST_F(MenusTest, PluginsMenuByHandleOrByCaption) {
    const struct {
        fake::Generation generation;
        const char* caption;
        bool built;
    } cases[] = {
        {fake::Generation::Today, "&Erweiterungen", true},  // the host names it
        {fake::Generation::Old, "Plugins", true},
        {fake::Generation::Old, "&Plugins", true},  // ampersands do not count
        {fake::Generation::Old, "P&lugins", true},
        {fake::Generation::Old, "Erweiterungen", false},  // nothing to know it by
    };
    for (const auto& c : cases) {
        generation = c.generation;
        pluginsCaption = c.caption;
        restart();
        host->openMenu(9);
        EXPECT_FALSE(pluginState().optionsBuilt) << c.caption;
        openPlugins();
        EXPECT_EQ(host->optionId("Show Commands") != 0, c.built) << c.caption;
    }
}

TEST_P(MenusTest, CommandsThatAreNotOursReachTheHost) {
    start();
    openPlugins();
    const unsigned base = pluginState().optionsBaseId;
    host->command(41001);
    host->command(base + kOptSeparator);
    const unsigned pastTheLast = base + kOptionCount + 1;
    host->command(pastTheLast);
    host->send(0x0111, base + kOptAcknowledgments, 1234);  // from a control, not a menu
    EXPECT_EQ(host->commandsSeen,
              (std::vector<unsigned>{41001, base + 4, pastTheLast, base + 12}));
    EXPECT_TRUE(headless::shownMessages().empty());
}

TEST_P(MenusTest, CaptionMustMatchTheOffset) {
    start();
    openPlugins();
    const unsigned id = host->optionId("Acknowledgments");
    // Another plug-in's item with the same id comes first in the menu bar.
    platform::insertMenuItem(platform::subMenu(host->menuBar(), 0), 0, id, "Someone else's");
    host->command(id);
    EXPECT_EQ(host->commandsSeen.back(), id);
    EXPECT_TRUE(headless::shownMessages().empty());
}

TEST_P(MenusTest, ToggleIncompatibilities) {
    start("[Quillet]\r\nDon't show Summary=1\r\n");
    openPlugins();
    const PluginState& s = pluginState();
    // Turning on tool-tip evaluation switches Hide Expr Line off.
    host->command(host->optionId("Eval to Tooltip"));
    EXPECT_EQ(lastBox(), "Evaluate to Tooltip enabled.");
    EXPECT_EQ(s.toolTipF, 1);
    EXPECT_FALSE(s.hideExprLineF);
    EXPECT_EQ(s.nlnParam, " ");
    EXPECT_EQ(s.ntParam, " /nt ");  // as the file set it at load
    EXPECT_FALSE(host->optionChecked("Don't show Summary"));
    EXPECT_TRUE(host->optionChecked("Eval to Tooltip"));
    // Hide Expr Line is refused while it is on.
    host->command(host->optionId("Don't show Summary"));
    EXPECT_EQ(lastBox(), "'Hide Expr Line' incompatible with 'Eval To ToolTip'");
    EXPECT_FALSE(s.hideExprLineF);
    EXPECT_FALSE(host->optionChecked("Don't show Summary"));
    // Off again, then Hide Expr Line works.
    host->command(host->optionId("Eval to Tooltip"));
    EXPECT_EQ(lastBox(), "Evaluate to Tooltip disabled.");
    host->command(host->optionId("Don't show Summary"));
    EXPECT_EQ(lastBox(), "Hide Expr Line Enabled");
    EXPECT_EQ(s.nlnParam, " /nln ");
    host->command(host->optionId("Don't confirm Expr"));
    EXPECT_EQ(lastBox(), "Expression confirmation Disabled");
    EXPECT_TRUE(s.noConfirmF);
    const std::string ini = readFile(iniFile());
    EXPECT_NE(ini.find("Eval To ToolTip=0"), std::string::npos);
    EXPECT_NE(ini.find("Don't show Summary=1"), std::string::npos);
    EXPECT_NE(ini.find("Don't confirm Expr=1"), std::string::npos);
    EXPECT_EQ(headless::shownMessages().back().title, "Quillet");
}

TEST_P(MenusTest, SummaryFromTheFileKeepsBareResults) {
    start("[Quillet]\r\nDon't show Summary=1\r\n");
    openPlugins();
    EXPECT_TRUE(host->optionChecked("Don't show Summary"));
    for (const char* message : {"Hide Expr Line disabled.", "Hide Expr Line Enabled"}) {
        host->command(host->optionId("Don't show Summary"));
        EXPECT_EQ(lastBox(), message);
    }
    EXPECT_EQ(pluginState().nlnParam, " /nln ");
    EXPECT_EQ(pluginState().ntParam, " /nt ");
    EXPECT_TRUE(pluginState().bareResultsF);
}

TEST_P(MenusTest, PluginLogQuestion) {
    start();
    openPlugins();
    const unsigned id = host->optionId("Plugin Log");
    headless::queueAnswer(platform::kIdCancel);
    host->command(id);
    EXPECT_EQ(headless::shownMessages().back().buttons, platform::Buttons::YesNoCancel);
    EXPECT_EQ(pbDebug(), 0);
    EXPECT_FALSE(host->optionChecked("Plugin Log"));
    EXPECT_FALSE(std::filesystem::exists(iniFile()));

    headless::queueAnswer(platform::kIdNo);
    host->command(id);
    EXPECT_EQ(pbDebug(), 0);
    EXPECT_NE(readFile(iniFile()).find("Debug=2"), std::string::npos);  // from the next start

    headless::queueAnswer(platform::kIdYes);
    host->command(id);
    EXPECT_EQ(pbDebug(), 2);
    EXPECT_TRUE(host->optionChecked("Plugin Log"));
    const std::string log = readFile(dbgFile());
    EXPECT_NE(log.find("Quillet.dll"), std::string::npos);
    EXPECT_NE(log.find("Proc: WindowProc()        : Params: menu_id = " + std::to_string(id) +
                       ", menu_caption = Plugin Log, pbDebug = 2"),
              std::string::npos);

    host->command(id);
    EXPECT_EQ(lastBox(), "Debug disabled.");
    EXPECT_EQ(pbDebug(), 0);
    EXPECT_NE(readFile(iniFile()).find("Debug=0"), std::string::npos);
}

TEST_P(MenusTest, DecimalsDialog) {
    start();
    openPlugins();
    const unsigned id = host->optionId("Decimals");
    const struct {
        const char* answer;  // nullptr: cancelled
        int decimals;
        bool invalid;
    } cases[] = {{"3", 3, false}, {" 7 ", 7, false}, {"2,9", 2, false},  {"abc", 2, true},
                 {"", 2, true},   {"-1", 2, true},   {"1e1", 10, false}, {nullptr, 10, false},
                 {"0", 0, false}, {"5000", 0, true}};
    for (const auto& c : cases) {
        headless::clearShownMessages();
        if (c.answer)
            headless::queueInputAnswer(c.answer);
        else
            headless::queueInputCancel();
        host->command(id);
        EXPECT_EQ(batchFlags().decimals, c.decimals) << (c.answer ? c.answer : "cancel");
        EXPECT_EQ(!headless::shownMessages().empty(), c.invalid)
            << (c.answer ? c.answer : "cancel");
        if (c.invalid) {
            EXPECT_EQ(headless::shownMessages().back().title, "Quillet Error");
        }
        if (c.answer) {
            EXPECT_NE(readFile(iniFile()).find("Decimals=" + std::to_string(c.decimals)),
                      std::string::npos);
        }
    }
    EXPECT_EQ(headless::shownInputs().back().title, "Quillet Input");
    EXPECT_EQ(headless::shownInputs().back().prompt, "Input number of decimals for results:");
    EXPECT_EQ(headless::shownInputs().back().defaultText, "0");
}

TEST_P(MenusTest, AcknowledgmentsAndReset) {
    start();
    openPlugins();
    host->command(host->optionId("Acknowledgments"));
    EXPECT_EQ(lastBox().rfind("ACKNOWLEDGMENTS\r\n\r\nI thank these people for their support, "
                              "testing and suggestions:\r\n\r\n    ",
                              0),
              0u);
    headless::queueAnswer(platform::kIdNo);
    host->command(host->optionId("ReSet memory"));
    EXPECT_EQ(lastBox(), "Are you sure to reset Quillet memory?");
}

TEST_P(MenusTest, LongTextsAskBeforeTheyAreShown) {
    start();
    openPlugins();
    const unsigned id = host->optionId("Show Debug Log");
    zrt::SetDebugF(4);
    DebugAdd("short", "");
    host->command(id);
    ASSERT_EQ(headless::messagesWindows().size(), 1u);
    EXPECT_EQ(headless::messagesWindows()[0].text, "\r\nshort");
    EXPECT_EQ(headless::messagesWindows()[0].title, "Quillet Plugin for Notepad++");

    DebugAdd(std::string(50000, 'x'), "");
    const std::size_t length = debugLog().size();
    const std::string question = "Text is " + std::to_string(length) + " characters long";
    const struct {
        const char* answer;
        const char* reply;
    } cases[] = {{"0", "Nothing done"},
                 {"4", "Nothing done"},
                 {"", "Nothing done"},
                 {"2", "Text copied to clipboard"},
                 {"10", ""}};
    for (const auto& c : cases) {
        headless::clearShownMessages();
        headless::queueInputAnswer(c.answer);
        host->command(id);
        EXPECT_EQ(headless::shownMessages().front().text.rfind(question, 0), 0u);
        EXPECT_EQ(headless::shownMessages().size(), *c.reply ? 2u : 1u) << c.answer;
        if (*c.reply) {
            EXPECT_EQ(lastBox(), c.reply) << c.answer;
        }
    }
    EXPECT_EQ(platform::clipboardText().size(), length);
    headless::queueInputAnswer("3");
    headless::queueFileAnswer((dir() / "log.txt").string());
    host->command(id);
    EXPECT_EQ(lastBox(), "Text saved to file");
    EXPECT_EQ(readFile(dir() / "log.txt").size(), length);
    headless::queueInputAnswer("1");
    host->command(id);
    EXPECT_EQ(headless::messagesWindows().back().text.size(), length);
    EXPECT_TRUE(headless::messagesWindows().back().replacedOpenWindow);
}

TEST_P(MenusTest, ToolTipNeedsTheMouseNearTheCaret) {
    start("[Quillet]\r\nEval To ToolTip=1\r\n");
    host->main.text = "1+1\r\n2+2\r\n";
    host->main.caretAt(1, 1);
    host->dwell(0);        // farther than the selection length + 1
    host->dwell(6, 0, 5);  // outside the text area
    EXPECT_FALSE(host->main.callTipActive);
    EXPECT_EQ(host->notifiesSeen, 2);

    // After a selection was read, its text's length plus one counts, the
    // same in both host generations.
    host->main.text = "1+1 and 2+2 and more\r\n";
    host->main.select(8, 11);
    host->dwell(10);
    EXPECT_EQ(pluginState().selectionLength, 4);
    const struct {
        std::intptr_t position;
        bool tip;
    } cases[] = {{6, true}, {5, false}, {16, true}, {17, false}};
    for (const auto& c : cases) {
        host->dwellEnd();
        host->dwell(c.position);
        EXPECT_EQ(host->main.callTipActive, c.tip) << c.position;
    }
}

TEST_P(MenusTest, OwnCallTipsOnly) {
    start("[Quillet]\r\nEval To ToolTip=1\r\n");
    // Notepad++'s own call tip (a function's parameters) is not ours to cancel.
    host->main.callTipActive = true;
    host->dwellEnd();
    headless::advanceClock(20000);
    host->send(0x0200, 0, 0);
    EXPECT_TRUE(host->main.callTipActive);
}
