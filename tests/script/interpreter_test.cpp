#include "script/interpreter.h"

#include "base/errors.h"
#include "base/strings.h"
#include "memory/varstore.h"
#include "script/commands.h"
#include "support/library_test.h"

using namespace zrt;

class InterpreterTest : public LibraryTest {};

namespace {

ScriptResult run(const std::string& script, ScriptOptions options = {}) {
    return sEval(script, options);
}

}  // namespace

TEST_F(InterpreterTest, CountsCommandsAndErrors) {
    const struct {
        const char* script;
        int code;
    } cases[] = {
        {"", 0},
        {"x + 1", 0},  // neither "=" nor "(": not a command
        {"Expr = 1\r\nExpr = 1/0\r\nExpr = 3", 3001},
        {"' Expr = 1\r\n'' Expr = 2", 0},
        {"foo = 1", 1001},
        {"Pause = 0\r\nVar = a ; 1", 2000},
        {"\r\n\r\n   \r\n", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(run(c.script).code(), c.code) << c.script;
    EXPECT_EQ(run("").output, "");
}

TEST_F(InterpreterTest, EchoAndResultLines) {
    EXPECT_EQ(run("Expr = 2+3 ' five").output,
              "Ln 1: EXPR = 2+3:                     \r\n Result => Number = 5");
    ScriptOptions bare;
    bare.bare = true;
    EXPECT_EQ(run("hex = 255", bare).output, "Ln 1: HEX = 255:                     \r\n &FF");
    ScriptOptions quiet;
    quiet.quiet = true;
    EXPECT_EQ(run("Expr = 1\r\nExpr = 1/0", quiet).output,
              " Result => Number = 1\r\n\r\nLn 2: EXPR = 1/0:                     \r\n"
              " Result => ===> ERROR n. = 8: Division by zero             (Module: eval & sDiff)");
    const auto tail = [](const std::string& s, std::size_t n) { return s.substr(s.size() - n); };
    EXPECT_EQ(tail(run("Bin = -1").output, 65), "!" + std::string(64, '1'));
    EXPECT_EQ(tail(run("Hex = 10^300").output, 18), " &7FFFFFFFFFFFFFFF");
}

TEST_F(InterpreterTest, LineSelectionUsesEachNumberOnce) {
    ScriptOptions sel;
    sel.lineSelection = true;
    sel.selectedLines = ";1;12;";
    std::string script;
    for (int i = 1; i <= 12; ++i) script += "Expr = " + std::to_string(i) + "\r\n";
    const ScriptResult r = run(script, sel);
    EXPECT_EQ(r.commands, 2);
    EXPECT_NE(r.output.find("Ln 12: EXPR = 12"), std::string::npos);
    sel.selectedLines = ";2;";
    sel.lineCorrection = -1;
    EXPECT_NE(run(script, sel).output.find("Ln 3: EXPR = 3"), std::string::npos);
}

TEST_F(InterpreterTest, BlocksAndComments) {
    const std::string script =
        "'' kept\r\n' dropped\r\n\\\\ open\r\nExpr = 1\r\n// close\r\n!\\\r\nfoo = 1\r\n!/\r\nExpr = 2";
    const ScriptResult r = run(script);
    EXPECT_EQ(r.commands, 1);
    EXPECT_EQ(r.output, "'' kept\r\n\\\\ open\r\nExpr = 1\r\n// close\r\n!\\\r\nfoo = 1\r\n!/\r\n"
                        "Ln 9: EXPR = 2:                     \r\n Result => Number = 2");
    const struct {
        const char* text;
        const char* kept;
    } comments[] = {
        {"Expr = 1 ' a\r\nExpr = 2 ' a\r\n' b", "Expr = 1 \r\nExpr = 2 \r\n"},
        // A comment that begins like an earlier one goes whole: none of it is code.
        {"Expr = 1 'ab\r\nExpr = 2 'abc*0\r\n", "Expr = 1 \r\nExpr = 2 \r\n"},
        {"'x\r\n'xy\r\n'x", "\r\n\r\n"},
        {"Expr = 3 ''' quotes\r\n\r\n", "Expr = 3 \r\n\r\n"},
        // Only CR LF ends a line: a bare LF belongs to the comment.
        {"Expr = 4 ' a\nExpr = 5\r\nExpr = 6", "Expr = 4 \r\nExpr = 6"},
        {"", ""},
        {"no comment", "no comment"},
    };
    for (const auto& c : comments) EXPECT_EQ(removeComments(c.text), c.kept) << c.text;
}

TEST_F(InterpreterTest, MemoryCommands) {
    const ScriptResult r = run(
        "Var = g ; 9.81\r\nFunct = f ; g*2\r\nStoExpr(h) = f\r\nShow(h)\r\nShow(f)\r\nShow(pi)\r\n"
        "Funct = e ;\r\nVar = lonely");
    EXPECT_EQ(r.commands, 8);
    EXPECT_EQ(r.errors, 2);
    EXPECT_NE(r.output.find("Ln 3: STOEXPR = f:                     \r\n Result => Number h = 19.62"),
              std::string::npos);
    EXPECT_NE(r.output.find("Ln 4: Show(h) => Number h = 19.62"), std::string::npos);
    EXPECT_NE(r.output.find("Ln 5: Show(f) => Function f = g*2"), std::string::npos);
    EXPECT_NE(r.output.find("Ln 6: Show(pi) => Constant pi = 3.1416"), std::string::npos);
    EXPECT_EQ(varFuncListText(ListKind::Vars), "g=9.81;h=19.62;");
}

TEST_F(InterpreterTest, DimXBlocksBuildOneMatrixEach) {
    const ScriptResult r = run(
        "DimX = mA(2,2) ; a = 1 ; b = 2\r\ndimx = mA(2,2) ; c = 1+2 ; d = 4 ' comment\r\n"
        "DimX = mB(1,1) ; x = 9\r\nShow([mA])\r\nShow(mB)");
    EXPECT_EQ(r.errors, 0);
    EXPECT_EQ(r.commands, 4);  // a block is one command
    // The last row ends in "\r\n" and the result line adds its own "\r\n\r\n".
    EXPECT_NE(r.output.find("Matrix: mA(1,1)=1\tmA(1,2)=2\t\r\nmA(2,1)=3\tmA(2,2)=4\t\r\n\r\n\r\nLn 5"),
              std::string::npos);
    EXPECT_NE(r.output.find("Vector: vE(1)=9\t"), std::string::npos);
}

TEST_F(InterpreterTest, FormattedValues) {
    const struct {
        double v;
        int decimals;
        const char* text;
    } cases[] = {{100, 4, "100"},       {1.0 / 3, 4, "0.3333"}, {2.0 / 3, 2, "0.67"},
                 {-0.00001, 4, "0"},    {-2.5, 0, "-2"},        {1e20, 4, "100000000000000000000"},
                 {12.5, 4, "12.5"},     {-1.0 / 0.0, 4, "-Infinity"}};
    for (const auto& c : cases) EXPECT_EQ(formatValue(c.v, c.decimals), c.text) << c.v;
}

TEST_F(InterpreterTest, HugeScriptsRunLinearly) {
    std::string script;
    for (int i = 0; i < 20000; ++i) script += "Expr = " + std::to_string(i) + "+1\r\n";
    const ScriptResult r = run(script);
    EXPECT_EQ(r.commands, 20000);
    EXPECT_EQ(r.code(), 20000000);
    const std::string line(10 << 20, '1');
    EXPECT_EQ(run("Expr = " + line).errors, 0);
    EXPECT_EQ(commandTable()[kExprCommandIndex].name, std::string("Expr"));
    EXPECT_EQ(commandTable()[kLastCommandIndex].name, std::string("sDiffF"));
}

// The command table: a word names one command, every command the editor's
// table lists runs, and a line finds its command in any case but only by the
// whole word.
TEST_F(InterpreterTest, CommandTableWords) {
    const std::vector<std::string_view> words = commandNames();
    for (std::size_t a = 0; a < words.size(); ++a)
        for (std::size_t b = a + 1; b < words.size(); ++b)
            EXPECT_NE(lowerAscii(words[a]), lowerAscii(words[b])) << words[a];
    for (int k = 0; k < kCommandCount; ++k)
        EXPECT_NE(findCommand(lowerAscii(commandTable()[k].name)), nullptr) << commandTable()[k].name;
    for (const char* name : {"exp", "exprff", "sdif", "", "expr "})
        EXPECT_EQ(findCommand(name), nullptr) << name;
    EXPECT_EQ(run("eXpR = 1\r\nEXP = 1\r\nExprX = 1").errors, 2);
}
