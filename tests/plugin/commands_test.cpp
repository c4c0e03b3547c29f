// The menu commands and tool-tip evaluation, driven as Notepad++ drives them.
#include "plugin/commands.h"

#include "memory/varstore.h"
#include "plugin/state.h"
#include "script/flags.h"
#include "support/plugin_fixture.h"
#include "log/pluginlog.h"

using namespace zrt;

namespace {

enum Item {
    kCurFile = 0,
    kCurLineToFile = 1,
    kCurLine = 3,
    kSelText = 4,
    kExpr = 5,
    kShowMem = 7,
    kFileName = 8,
    kAbout = 10
};

}  // namespace

class CommandsTest : public PluginTest {
   protected:
    const std::vector<headless::ShownMessage>& boxes() const { return headless::shownMessages(); }
    // The parameter lines the driver got since the log was last cleared.
    std::vector<std::string> parameterLines() const {
        std::vector<std::string> lines;
        for (const std::string& l : headless::debugLines()) {
            const std::size_t at = l.find("zrtEvalMain()       : CmdLine = '");
            if (at != std::string::npos) lines.push_back(l.substr(at + 33, l.size() - at - 34));
        }
        return lines;
    }
    void logToDebugger() {
        setPbDebug(1);
        headless::clearDebugLines();
    }
};
QUILLET_BOTH_HOSTS(CommandsTest);

TEST_P(CommandsTest, SelectionIsConfirmedEvaluatedAndInsertedBelow) {
    start();
    host->main.text = "2+3\r\nnext";
    host->main.select(0, 3);
    host->runItem(kSelText);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Quillet");
    EXPECT_EQ(boxes()[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(
        boxes()[0].text,
        "Eval SelText To Wnd: Expression = \r\n\r\n2+3\r\n\r\nPress: Yes to Evaluate Expression\r\n"
        "           No to abort operation");
    EXPECT_EQ(host->main.text.rfind("2+3\r\nLn 1: EXPR = 2+3:", 0), 0u) << host->main.text;
    EXPECT_NE(host->main.text.find("Number = 5\r\n\r\nnext"), std::string::npos) << host->main.text;
    EXPECT_NE(platform::clipboardText().find("Number = 5"), std::string::npos);
}

TEST_P(CommandsTest, NothingToEvaluateOrNo) {
    start();
    const struct {
        const char* doc;
        int item;
        int answer;  // 0: no question expected
        const char* box;
    } cases[] = {
        {"' only a comment\r\n", kCurLine, 0, "No Expression found!"},
        {"   \r\n", kCurLine, 0, "No Expression found!"},
        {"2+3\r\n", kCurLine, platform::kIdNo, ""},
        {"x ' Expr = 1", kExpr, 0, "No Expression found!"},
        {"Expr = 1", kExpr, platform::kIdNo, ""},
    };
    for (const auto& c : cases) {
        headless::clearShownMessages();
        host->main.text = c.doc;
        host->main.caretAt(0, static_cast<int>(std::string(c.doc).find('\r') == std::string::npos
                                                   ? std::string(c.doc).size()
                                                   : std::string(c.doc).find('\r')));
        if (c.answer) headless::queueAnswer(c.answer);
        host->runItem(c.item);
        EXPECT_EQ(host->main.text, c.doc);
        ASSERT_EQ(boxes().size(), 1u) << c.doc;
        if (*c.box) {
            EXPECT_EQ(boxes()[0].text, c.box) << c.doc;
            EXPECT_EQ(boxes()[0].title, c.item == kExpr ? "Quillet Plugin" : "Quillet") << c.doc;
        }
    }
}

TEST_P(CommandsTest, ExpressionsAndTheirKeywords) {
    start();
    logToDebugger();
    // A bare expression runs as an Expr command; a trailing line break goes.
    host->main.text = "2*pi\r\n";
    host->main.select(0, 6);
    host->runItem(kSelText);
    EXPECT_NE(boxes().back().text.find("\r\n\r\n2*pi\r\n\r\nPress"), std::string::npos);
    host->main.text = "Var = q; 4\r\n";
    host->main.caretAt(0, 2);
    headless::queueAnswer(platform::kIdYes);
    host->runItem(kCurLine);
    EXPECT_NE(boxes().back().text.find("Press: Yes to Load Expression in Memory"),
              std::string::npos);
    const auto lines = parameterLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], " /noh /sclp /log   /sel:'Expr = 2*pi' /");
    EXPECT_EQ(lines[1], " /noh /sclp /log    /sel:'Var = q; 4' /");
}

TEST_P(CommandsTest, ParameterLinesWithoutSummaryOrConfirmation) {
    start("[Quillet]\r\nDon't show Summary=1\r\nDon't confirm Expr=1\r\n");
    logToDebugger();
    host->main.text = "Expr = 1+1\r\n";
    host->main.caretAt(0, 10);
    host->runItem(kCurLine);
    host->main.select(0, 10);
    host->runItem(kSelText);
    host->main.caretAt(0, 10);
    host->runItem(kExpr);
    EXPECT_TRUE(boxes().empty());
    const auto lines = parameterLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], " /noh /sclp /log  /nln  /nt  /sel:'Expr = 1+1' /");
    EXPECT_EQ(lines[1], " /noh /sclp /log  /nln  /sel:'Expr = 1+1' /");
    EXPECT_EQ(lines[2], " /a /noh /sclp /log  /nln  /sel:'Expr = 1+1' /");
    // Hide Expr Line: the results continue the expression's line.
    EXPECT_EQ(host->main.text.rfind("Expr = 1+1 = ", 0), 0u) << host->main.text;

    // Switched off in the menu, the next run echoes again.
    openPlugins();
    host->command(host->optionId("Don't show Summary"));
    host->main.text = "Expr = 2+2\r\n";
    host->main.caretAt(0, 10);
    host->runItem(kCurLine);
    EXPECT_NE(host->main.text.find("Ln 1: EXPR = 2+2"), std::string::npos) << host->main.text;
}

TEST_P(CommandsTest, ExpressionBeforeTheCaret) {
    start("[Quillet]\r\nDon't confirm Expr=1\r\n");
    const struct {
        const char* doc;
        int line, column;
        const char* result;  // nullptr: nothing found
    } cases[] = {
        {"Expr = 2*5", 0, 10, "Number = 10"},
        {"Expr = 2*5 ' note", 0, 17, "Number = 10"},
        {"Expr = 1\r\nExpr = 3*3\r\n", 1, 10, "Number = 9"},
        {"Expr = 4*4\r\n", 1, 0, "Number = 16"},
        {"x = 1 ' Expr = 3", 0, 16, nullptr},
        {"Expr = 1\r\n", 0, 3, nullptr},
    };
    for (const auto& c : cases) {
        headless::clearShownMessages();
        host->main.text = c.doc;
        host->main.caretAt(c.line, c.column);
        host->runItem(kExpr);
        if (c.result) {
            EXPECT_NE(host->main.text.find(c.result), std::string::npos)
                << c.doc << " -> " << host->main.text;
            EXPECT_TRUE(boxes().empty()) << c.doc;
        } else {
            EXPECT_EQ(host->main.text, c.doc);
            ASSERT_EQ(boxes().size(), 1u) << c.doc;
            EXPECT_EQ(boxes()[0].text, "No Expression found!");
        }
    }
}

TEST_P(CommandsTest, WholeFileAndCurrentLineToResultFile) {
    start();
    const std::filesystem::path script = dir() / "docs" / "calc.zrt";
    writeFile(script, "Expr = 1+1\r\nExpr = 10/4\r\n");
    host->main.path = script.string();
    host->runItem(kCurFile);
    const std::filesystem::path result = dir() / "docs" / "Result.zrt";
    const std::string text = readFile(result);
    EXPECT_NE(text.find("Number = 2\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Number = 2.5\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("'--- End Of BatchRun"), std::string::npos);
    ASSERT_EQ(host->reloaded.size(), 1u);
    EXPECT_EQ(std::filesystem::path(host->reloaded[0]), result);
    EXPECT_EQ(host->opened, host->reloaded);

    // Only the current line of the file, appended.
    host->main.text = "Expr = 1+1\r\nExpr = 10/4\r\n";
    host->main.caretAt(1, 3);
    host->runItem(kCurLineToFile);
    const std::string after = readFile(result);
    EXPECT_EQ(after.rfind(text, 0), 0u);
    EXPECT_NE(after.substr(text.size()).find("Number = 2.5"), std::string::npos)
        << after.substr(text.size());
    EXPECT_EQ(after.substr(text.size()).find("Number = 2\r\n"), std::string::npos);
    EXPECT_EQ(host->reloaded.size(), 2u);

    // A new document that is no file yet has no result to show.
    host->main.path = "new 3";
    host->runItem(kCurFile);
    EXPECT_EQ(host->reloaded.size(), 2u);
}

TEST_P(CommandsTest, MemoryFileNameAndAbout) {
    start();
    host->runItem(kShowMem);
    ASSERT_FALSE(headless::shownScreens().empty());
    EXPECT_EQ(headless::shownScreens().back().rfind("Show Memory:", 0), 0u);

    host->main.text = "file: \r\n";
    host->main.caretAt(0, 6);
    headless::queueFileAnswer("C:\\data\\points.txt");
    host->runItem(kFileName);
    EXPECT_EQ(host->main.text, "file: \r\nC:\\data\\points.txt\r\n");
    headless::clearShownMessages();
    host->runItem(kFileName);  // cancelled
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Error 1: Operation cancelled by user.");
    EXPECT_EQ(host->main.text, "file: \r\nC:\\data\\points.txt\r\n");

    host->runItem(kAbout);
    ASSERT_FALSE(headless::messagesWindows().empty());
    EXPECT_NE(headless::messagesWindows().back().text.find("Quillet.dll"), std::string::npos);
}

TEST_P(CommandsTest, OptionsThatShowTexts) {
    start();
    openPlugins();
    host->command(host->optionId("Supported Functions"));
    ASSERT_EQ(headless::messagesWindows().size(), 1u);
    EXPECT_EQ(
        headless::messagesWindows()[0].text.rfind("Library: Zerith.dll - Version: 0.0.4.8", 0), 0u);
    host->command(host->optionId("Show Commands"));
    ASSERT_EQ(headless::messagesWindows().size(), 2u);
    EXPECT_GT(headless::messagesWindows()[1].text.size(), 100u);
    EXPECT_TRUE(boxes().empty());

    ::SetVarFunct(P(Z("gravity")), P(Z("9.81")), 0);
    headless::queueAnswer(platform::kIdYes);
    host->command(host->optionId("ReSet memory"));
    EXPECT_EQ(GetVarFuncListLen(nullptr), 0);
}

TEST_P(CommandsTest, ToolTipEvaluation) {
    start("[Quillet]\r\nEval To ToolTip=1\r\n");
    platform::setClipboardText("what the user copied");
    host->main.text = "9*9\r\n";
    host->main.caretAt(0, 1);
    host->dwell(2);
    EXPECT_TRUE(host->main.callTipActive);
    EXPECT_EQ(host->main.callTipPos, 2);
    EXPECT_EQ(host->main.callTip.rfind("Expr = 9*9\nLn 1: EXPR = 9*9:", 0), 0u)
        << host->main.callTip;
    EXPECT_NE(host->main.callTip.find("Number = 81"), std::string::npos);
    EXPECT_EQ(host->main.callTip.find('\r'), std::string::npos);
    EXPECT_EQ(host->main.text, "9*9\r\n");
    EXPECT_EQ(platform::clipboardText(), "what the user copied");
    EXPECT_TRUE(boxes().empty());

    // The mouse moves on.
    host->dwellEnd();
    EXPECT_FALSE(host->main.callTipActive);

    // A selection is evaluated instead of the line; a tip goes after nine seconds.
    host->main.text = "1+1 and 2+2\r\n";
    host->main.select(8, 11);
    host->dwell(10);
    EXPECT_NE(host->main.callTip.find("Number = 4"), std::string::npos) << host->main.callTip;
    headless::advanceClock(8000);
    host->send(0x0200, 0, 0);
    EXPECT_TRUE(host->main.callTipActive);
    headless::advanceClock(1500);
    host->send(0x0200, 0, 0);
    EXPECT_FALSE(host->main.callTipActive);

    // An empty line shows nothing and asks nothing.
    host->main.text = "\r\n2\r\n";
    host->main.caretAt(0);
    host->dwell(0);
    EXPECT_FALSE(host->main.callTipActive);
    EXPECT_TRUE(boxes().empty());

    // Each view's dwell reads that view and shows its tip there, whichever
    // view is the active one.
    host->currentView = 1;
    host->second.text = "5*5";
    host->second.caretAt(0, 1);
    host->main.text = "3*3\r\n";
    host->main.caretAt(0, 1);
    host->dwell(1);
    EXPECT_NE(host->main.callTip.find("Number = 9"), std::string::npos) << host->main.callTip;
    EXPECT_FALSE(host->second.callTipActive);
    host->currentView = 0;
    host->dwell(2, 20, 20, &host->second);
    EXPECT_NE(host->second.callTip.find("Number = 25"), std::string::npos) << host->second.callTip;
    EXPECT_FALSE(host->main.callTipActive);  // one tip of ours at a time
    host->dwellEnd(&host->second);
    EXPECT_FALSE(host->second.callTipActive);
    EXPECT_EQ(host->second.text, "5*5");
}

TEST_P(CommandsTest, ErrorsShowInTheTip) {
    start("[Quillet]\r\nEval To ToolTip=1\r\n");
    host->main.text = "sqrt(-1)\r\n";
    host->main.caretAt(0, 1);
    host->dwell(1);
    EXPECT_NE(host->main.callTip.find("ERROR"), std::string::npos) << host->main.callTip;
    EXPECT_EQ(pluginState().cmdIndex, 0);
}

TEST_P(CommandsTest, CommentsGoWholeEvenWhenOneBeginsLikeAnother) {
    start("[Quillet]\r\nDon't confirm Expr=1\r\n");
    const std::string text = "Expr = 1 'ab\r\nExpr = 2 'abc*0\r\n";
    host->main.text = text;
    host->main.select(0, static_cast<std::intptr_t>(text.size()));
    logToDebugger();
    host->runItem(kSelText);
    ASSERT_EQ(parameterLines().size(), 1u);
    // The second comment's rest ("c*0") stays out of the script.
    EXPECT_NE(parameterLines()[0].find("/sel:'Expr = 1 \r\nExpr = 2'"), std::string::npos)
        << parameterLines()[0];
}

// Each command works after each other one: nothing a run asks for alone (the
// line selection of Eval CurLine To File, say) may stay for the next.
TEST_P(CommandsTest, EveryCommandAfterEveryOther) {
    start("[Quillet]\r\nDon't confirm Expr=1\r\n");
    const std::filesystem::path script = dir() / "docs" / "calc.zrt";
    const std::filesystem::path result = dir() / "docs" / "Result.zrt";
    const int commands[] = {kCurFile, kCurLineToFile, kCurLine, kSelText, kExpr, kShowMem};
    int value = 1000;
    // Runs `item` on a script of its own, whose third line is the one to
    // evaluate (a selection of it is one line), and says whether its result arrived.
    auto runAndCheck = [&](int item) {
        const std::string number = std::to_string(++value);
        const std::string line = "Expr = " + number + "+0";
        const std::string text = "' first\r\n' second\r\n" + line + "\r\n";
        writeFile(script, text);
        host->main.path = script.string();
        host->main.text = text;
        const auto start = static_cast<std::intptr_t>(text.find("Expr"));
        host->main.select(start, start + static_cast<std::intptr_t>(line.size()));
        const std::size_t screens = headless::shownScreens().size();
        host->runItem(item);
        const std::string want = "Number = " + number + "\r\n";
        if (item == kShowMem) return headless::shownScreens().size() == screens + 1;
        if (item == kCurFile || item == kCurLineToFile)
            return readFile(result).find(want) != std::string::npos;
        return host->main.text.find(want) != std::string::npos;
    };
    for (int first : commands) {
        for (int second : commands) {
            EXPECT_TRUE(runAndCheck(first)) << first;
            EXPECT_TRUE(runAndCheck(second))
                << second << " after " << first << ": " << host->main.text;
        }
    }
    EXPECT_TRUE(boxes().empty());
}

// Reloading the result file asks first only when the open Result.zrt holds
// changes the user made.
TEST_P(CommandsTest, ResultFileReloadAsksOnlyForUnsavedChanges) {
    start();
    const std::filesystem::path script = dir() / "docs" / "calc.zrt";
    const std::string result = (dir() / "docs" / "Result.zrt").string();
    writeFile(script, "Expr = 1+1\r\n");
    host->main.path = script.string();
    host->main.text = "Expr = 1+1\r\n";
    auto alertOf = [&](int item) {
        host->runItem(item);
        return host->reloadAlerts.empty() ? -1 : static_cast<int>(host->reloadAlerts.back());
    };
    // Not open, or open in a tab that is not shown, with nothing typed: no question.
    EXPECT_EQ(alertOf(kCurFile), 0);
    host->main.otherTabs = {{result, "old result", false}};
    EXPECT_EQ(alertOf(kCurFile), 0);
    EXPECT_EQ(alertOf(kCurLineToFile), 0);
    // Shown in the second view: its own modified state decides.
    host->second.path = result;
    host->second.modified = true;
    EXPECT_EQ(alertOf(kCurFile), 1);
    host->second.modified = false;
    EXPECT_EQ(alertOf(kCurLineToFile), 0);
    host->second.path = "C:\\work\\new 2";
    // Typed into while shown, then hidden behind the script's tab: still asked;
    // once saved, not.
    host->main.showTab(0);
    host->savePoint(host->main, true);
    host->main.showTab(0);
    EXPECT_EQ(alertOf(kCurFile), 1);
    host->main.showTab(0);
    host->savePoint(host->main, false);
    host->main.showTab(0);
    EXPECT_EQ(alertOf(kCurLineToFile), 0);
    EXPECT_EQ(host->reloaded.size(), host->reloadAlerts.size());
}
