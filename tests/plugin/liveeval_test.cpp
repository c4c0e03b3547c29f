// Results as you type: "=" then Enter, and the selection's value in the
// status bar, driven through the notifications of either view.
#include "plugin/liveeval.h"

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "plugin/state.h"
#include "script/flags.h"
#include "support/plugin_fixture.h"
#include "log/trace.h"

using namespace zrt;

class LiveEvalTest : public PluginTest {
   protected:
    // Both views in turn, each as the host's current one.
    template <class F>
    void inEachView(F&& body) {
        for (int which : {0, 1}) {
            host->currentView = which;
            SCOPED_TRACE(which ? "second view" : "main view");
            body(which ? host->second : host->main);
        }
    }
    const std::string& status() { return host->statusBar[0]; }
};
QUILLET_BOTH_HOSTS(LiveEvalTest);

TEST_P(LiveEvalTest, EqualThenEnterInsertsTheValue) {
    start("[Quillet]\r\nEval On Equal=1\r\n");
    const std::string longLine = "1" + std::string(kMaxEqualLineChars, ' ') + "=";
    const struct {
        std::string typed;     // before Enter
        std::string expected;  // the line afterwards
        int eolMode = 0;
    } cases[] = {
        {"2+3=", "2+3=5"},
        {"Var = x ; 4=", "Var = x ; 4="},  // a command with no value runs, inserts nothing
        {"x=", "x=4"},                     // and its variable is there afterwards
        {"x*2.5 =  ", "x*2.5 =10  "},      // blanks after "=" stay after the value
        {"1/0=", "1/0=Error 8: Division by zero"},
        {"Expr = 2+3=", "Expr = 2+3=5"},
        {"Hex = 255=", "Hex = 255=&FF"},
        {"Bin = 5=", "Bin = 5=!101"},
        {"10/4=", "10/4=2.5", 2},
        {"7-1=", "7-1=6", 1},
        {"=", "="},                        // nothing before it
        {"2+3 ' note =", "2+3 ' note ="},  // the "=" of a comment
        {"2+3", "2+3"},
        {longLine, longLine},
    };
    inEachView([&](fake::View& view) {
        ClearVarFuncList(ListKind::Vars);
        for (const auto& c : cases) {
            view.text.clear();
            view.caret = view.anchor = 0;
            view.undoSteps.clear();
            view.eolMode = c.eolMode;
            host->type(view, c.typed + "\n");
            const std::string eol = view.eol();
            EXPECT_EQ(view.text, c.expected + eol) << c.typed.substr(0, 20);
            // The caret stays where Enter put it, at the start of the new line.
            EXPECT_EQ(view.caret, static_cast<std::intptr_t>(view.text.size()));
            // One undo step takes the value out, and only the value.
            host->undo(view);
            EXPECT_EQ(view.text, c.expected == c.typed ? c.typed : c.typed + eol)
                << c.typed.substr(0, 20);
        }
    });
    EXPECT_TRUE(headless::shownMessages().empty());
    EXPECT_EQ(host->main.unknown, std::vector<unsigned>{});
}

TEST_P(LiveEvalTest, EqualThenEnterOnlyWhenSwitchedOnAndIdle) {
    start();
    host->main.text = "";
    host->type(host->main, "2+3=\n");
    EXPECT_EQ(host->main.text, "2+3=\r\n");

    restart("[Quillet]\r\nEval On Equal=1\r\n");
    pluginState().liveBusy = true;  // a previous one still runs
    host->type(host->main, "2+3=\n");
    EXPECT_EQ(host->main.text, "2+3=\r\n");
    pluginState().liveBusy = false;
    // Enter in the middle of a line: the value goes after the "=", before the break.
    host->main.text = "6*7=rest";
    host->main.caretAt(0, 4);
    host->type(host->main, "\n");
    EXPECT_EQ(host->main.text, "6*7=42\r\nrest");
    EXPECT_EQ(host->main.caret, 8);
}

TEST_P(LiveEvalTest, MatrixResultShowsACallTip) {
    start("[Quillet]\r\nEval On Equal=1\r\n");
    inEachView([&](fake::View& view) {
        view.text.clear();
        view.caret = view.anchor = 0;
        host->type(view, "Matr = [a];2;2;1;2;3;4=\n[a]*2=\n");
        EXPECT_EQ(view.text, "Matr = [a];2;2;1;2;3;4=\r\n[a]*2=\r\n");
        EXPECT_TRUE(view.callTipActive);
        EXPECT_EQ(view.callTipPos, 30);
        EXPECT_NE(view.callTip.find("=6"), std::string::npos) << view.callTip;
        EXPECT_NE(view.callTip.find("=8"), std::string::npos) << view.callTip;
        EXPECT_EQ(view.callTip.find('\r'), std::string::npos);
        view.callTipActive = false;
    });
}

TEST_P(LiveEvalTest, SelectionValueInTheStatusBar) {
    start("[Quillet]\r\nSelection In Status Bar=1\r\n");
    // A word that is no formula, first: the field is not touched.
    host->main.text = "hello world";
    host->selectIn(host->main, 0, 5);
    EXPECT_EQ(host->statusSets, 0);
    SetVarFunct("x", "4", ListKind::Vars);
    SetStrMatrix("[a];2;2;1;2;3;4", false);
    const std::string longSum = "1" + [] {
        std::string s;
        while (s.size() < kMaxStatusSelectionChars - 1) s += "+1";
        return s;
    }();
    const struct {
        std::string text;
        std::string field;
    } cases[] = {
        {"sqrt(16)", "= 4"},
        {"hello", "Normal text file"},  // back to the usual text
        {"x*2,5", "= 10"},
        {"Expr = 2^10", "= 1024"},
        {"Hex = 255", "= &FF"},
        {"Bin = 5", "= !101"},
        {"[a]*2", "= [2 4; 6 8]"},
        {"1/0", "Normal text file"},
        {"Var = y ; 3", "Normal text file"},  // commands never run from a look
        {"2+3\r\n4", "Normal text file"},
        {" " + longSum.substr(0, kMaxStatusSelectionChars - 1), "= 100"},  // 200 characters
        {longSum, "Normal text file"},                                     // 201
        {"2+3 ", "= 5"},
        {"pi ' a comment", "= 3.1416"},
    };
    inEachView([&](fake::View& view) {
        for (const auto& c : cases) {
            view.text = c.text + "\r\nnext";
            host->selectIn(view, 0, static_cast<std::intptr_t>(c.text.size()));
            EXPECT_EQ(status(), c.field) << c.text.substr(0, 20);
        }
        host->selectIn(view, 0, 2);
        EXPECT_EQ(status(), "= 3.1416");
        // An empty selection gives the field back, as the host's language has it.
        view.langType = 3;
        host->selectIn(view, 2, 2);
        EXPECT_EQ(status(), "C++ source file");
        view.langType = 0;
    });
    EXPECT_EQ(FindVarFunct("y", ListKind::Vars, nullptr, nullptr), 0);
    EXPECT_TRUE(headless::shownMessages().empty());
}

TEST_P(LiveEvalTest, QuietLookLeavesNoTrace) {
    start("[Quillet]\r\nSelection In Status Bar=1\r\n");
    SetStrMatrix("[a];2;2;1;2;3;4", false);
    double value = 0;
    ASSERT_EQ(e_eval("[a]*3", &value, 1), 1);  // a host's result, kept until its next call
    const std::size_t matrices = matrixCount();
    zrt::ShowMsgs(1);   // the evaluator would show its errors in a box
    zrt::SetDebugF(4);  // and collect trace lines
    clearDebugLog();
    setEError(ErrorCode::ValueNotDefined);
    const std::string log = errorLog();
    const int resultType = zrt::GetResultType();
    for (const char* text :
         {"1/0", "nosuchname+1", "[a]*2", "sqrt(2)*10", "Var = z ; 1", "Plot(0;1) = x", "2+"}) {
        host->main.text = text;
        host->selectIn(host->main, 0, static_cast<std::intptr_t>(host->main.text.size()));
    }
    EXPECT_EQ(status(), "Normal text file");
    EXPECT_TRUE(headless::shownMessages().empty());
    EXPECT_EQ(debugLog(), "");
    EXPECT_EQ(errorLog(), log);
    EXPECT_EQ(eError(), ErrorCode::ValueNotDefined);
    EXPECT_EQ(zrt::GetResultType(), resultType);
    EXPECT_EQ(matrixCount(), matrices);
    EXPECT_NE(findMatrixByAddress(static_cast<std::intptr_t>(value)), nullptr);
    EXPECT_EQ(FindVarFunct("z", ListKind::Vars, nullptr, nullptr), 0);
    zrt::ShowMsgs(0);
}

TEST_P(LiveEvalTest, StatusBarOffLeavesItAlone) {
    start();
    host->main.text = "sqrt(16)";
    host->selectIn(host->main, 0, 8);
    host->selectIn(host->main, 0, 0);
    EXPECT_EQ(host->statusSets, 0);
}

TEST_P(LiveEvalTest, OptionsToggleKeysAndCheckMarks) {
    start();
    openPlugins();
    const struct {
        const char* caption;
        const char* key;
        const char* on;
        const char* off;
        const bool PluginState::*flag;
    } options[] = {
        {"Evaluate on =", "Eval On Equal", "Evaluate on = enabled.", "Evaluate on = disabled.",
         &PluginState::evalOnEqualF},
        {"Selection in status bar", "Selection In Status Bar", "Selection in status bar enabled.",
         "Selection in status bar disabled.", &PluginState::selectionInStatusF},
    };
    for (const auto& o : options) {
        EXPECT_FALSE(host->optionChecked(o.caption)) << o.caption;
        host->command(host->optionId(o.caption));
        EXPECT_EQ(headless::shownMessages().back().text, o.on);
        EXPECT_EQ(headless::shownMessages().back().title, "Quillet");
        EXPECT_TRUE(pluginState().*o.flag);
        EXPECT_TRUE(host->optionChecked(o.caption));
        EXPECT_NE(readFile(iniFile()).find(std::string(o.key) + "=1"), std::string::npos);
    }
    // The settings file brings both back at the next start.
    restart();
    openPlugins();
    for (const auto& o : options) {
        EXPECT_TRUE(pluginState().*o.flag) << o.caption;
        EXPECT_TRUE(host->optionChecked(o.caption)) << o.caption;
    }
    // Switching the status bar off gives the field back.
    host->main.text = "sqrt(16)";
    host->selectIn(host->main, 0, 8);
    EXPECT_EQ(status(), "= 4");
    for (const auto& o : options) {
        host->command(host->optionId(o.caption));
        EXPECT_EQ(headless::shownMessages().back().text, o.off);
        EXPECT_FALSE(pluginState().*o.flag);
        EXPECT_FALSE(host->optionChecked(o.caption));
        EXPECT_NE(readFile(iniFile()).find(std::string(o.key) + "=0"), std::string::npos);
    }
    EXPECT_EQ(status(), "Normal text file");
}
