#include "evaluator/parser.h"

#include <cmath>
#include <limits>
#include <string>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "platform/headless/headless.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

class ParserTest : public LibraryTest {};

namespace {

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

}  // namespace

TEST_F(ParserTest, Values) {
    SetVarFunct("x", "2", ListKind::Vars);
    SetVarFunct("third", "0.333333333333333", ListKind::Vars);
    SetVarFunct("Größe", "4", ListKind::Vars);
    SetVarFunct("π", "3", ListKind::Vars);
    SetVarFunct("Ω", "10", ListKind::Vars);
    SetVarFunct("ω", "0.5", ListKind::Vars);
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* formula;
        double want;
    } cases[] = {
        // precedence and associativity
        {"2+3*4", 14}, {"2^3^2", 64}, {"-2^2", -4}, {"8/4/2", 1}, {"7-2-1", 4},
        {"2*-3", -6}, {"-2*3", -6}, {"2^-1", 0.5}, {"--2", 2}, {"+-+2", -2}, {"(2+3)*4", 20},
        {"((((1))))", 1}, {"2*3^2", 18}, {"-(2)^2", -4}, {"1-(-1)", 2},
        // integer operators
        {"7 mod 3", 1}, {"-7 mod 3", -1}, {"7 mod -3", 1}, {"7.9 mod 2", 1}, {"7\\2", 3},
        {"-7\\2", -3}, {"7.9\\1", 7}, {"10 mod 4*2", 2}, {"1+7 mod 4", 4}, {"9\\2 mod 3", 1},
        {"-2147483648 mod -1", 0}, {"2147483647\\1", 2147483647},
        // comparisons give -1, logic gives 1
        {"1<2", -1}, {"2<1", 0}, {"1=1", -1}, {"1<>1", 0}, {"1<=1", -1}, {"2>=3", 0}, {"3>2", -1},
        {"1<2 and 3<4", 1}, {"not 0", -1}, {"not 1", -2}, {"not 1 = 2", -1}, {"2 or 0", 1},
        {"0 or 0", 0}, {"2 xor 3", 0}, {"2 xor 0", 1}, {"1 and 0 or 1", 1}, {"1+1=2", -1},
        {"not -2.5", 1},
        // literals
        {"1,5*2", 3}, {"&1F+1", 32}, {"&ff", 255}, {"&FFFFFFFFFFFFFFFF", -1}, {"&", 0},
        {"!101", 5}, {"!12", 0}, {".", 0}, {"1.2.3", 1.2}, {".5", 0.5},
        // names
        {"12.5*x", 25}, {"2*pi", 6.2831853072}, {"pi*1", 3.1415926536}, {"#pi*1", 3.1415927410125732},
        {"e", 2.7182818285}, {"deg", 57.2957795131}, {"#deg", 57.295780181884766},
        {"third*3", 0.3333333333 * 3}, {"X*x", 4},
        // letters beyond ASCII: ASCII letters in a name fold, the others keep their case
        {"größe+1", 5}, {"GRößE*x", 8}, {"π*2", 6}, {"sin(π*0)", 0}, {"Ω*ω", 5},
        // functions (single precision)
        {"sin(1)", 0.8414709568023682}, {"SQRT(2)", 1.4142135381698608}, {"sqrt(x*2)", 2},
        {"ln(0)", -inf}, {"abs(-x)", 2}, {"sin(sin(0))", 0}, {"int(-2.7)", -2},
        // power through the library's own pow
        {"2^0.5", 1.4142135623730951}, {"10^-3", 0.001}, {"(-8)^3", -512}, {"0^0", 1},
        {"2^1024", inf}, {"1/2^-1074", inf}, {"2^-1074", 4.9406564584124654e-324},
        // division
        {"0/1", 0}, {"1/3", 1.0 / 3},
    };
    for (const auto& c : cases) {
        double v = -12345;
        EXPECT_EQ(e_eval(c.formula, &v, 0), 0) << c.formula << " e_error " << eError();
        EXPECT_EQ(v, c.want) << c.formula;
        EXPECT_EQ(de_eval(c.formula, 0), c.want) << c.formula;
    }
}

TEST_F(ParserTest, ErrorsLeaveTheResultAlone) {
    SetVarFunct("x", "2", ListKind::Vars);
    const struct {
        const char* formula;
        int code;
    } cases[] = {
        {"1+", 3}, {"", 3}, {")", 3}, {"*2", 3}, {"and", 3}, {"1+eqv", 3},
        {"(1+2", 6}, {"sin 1", 6}, {"sin(1", 6}, {"sum(1;2", 6}, {"[mA+1", 6},
        {"1 2", 2}, {"2 eqv 3", 2}, {"2 imp 3", 2}, {"2pi", 2}, {"1)", 2}, {"1>>2", 2}, {"1;2", 2},
        {"1/0", 8}, {"5 mod 0", 8}, {"5 mod 0.5", 8}, {"5\\0", 8}, {"x/(x-2)", 8},
        {"foo(1)", 4}, {"1e5", 4}, {"#2pi", 4}, {"#tau", 4}, {"foo", 4},
        {"größer", 4}, {"GRÖSSE", 4}, {"2×3", 2}, {"x²", 2},
        {"sqrt(-1)", 13}, {"ln(-1)", 13}, {"arcsin(1)", 13},
        {"10000000000\\1", 13}, {"1\\0.0000000001", 13}, {"10000000000 mod 3", 13},
        {"3 mod 10000000000", 13}, {"not 10000000000", 13}, {"sqrt(-1)\\1", 13},
        {"[mZ]", 14}, {"det([mZ])", 14},
        // The first error wins: a later name or function never clears it.
        {"sin+x)", 6}, {"sum+x)", 6}, {"sum(1/0;x)", 8}, {"(1/0)x", 8}, {"sin(1/0)", 8},
        {"sin+#pi)", 6}, {"foo(x)", 4}, {"sin(foo(1))", 4},
    };
    for (const auto& c : cases) {
        double v = -12345;
        EXPECT_EQ(e_eval(c.formula, &v, 0), c.code) << c.formula;
        EXPECT_EQ(codeNumber(eError()), c.code) << c.formula;
        EXPECT_EQ(v, -12345) << c.formula;
        EXPECT_EQ(de_eval(c.formula, 0), c.code) << c.formula;
    }
}

TEST_F(ParserTest, ErrorLogEntries) {
    const struct {
        const char* formula;
        const char* proc;
        const char* detail;
    } cases[] = {
        {"1+", "e_prs", "Syntax error, token = ''"},
        {"(1+2", "e_match", "Expected ), got ''"},
        {"1 2", "e_eval", "Syntax error, token = '2' after the formula"},
        {"1/0", "CalcMatrixDivMult", "Calculation error, token = '/'"},
        {"5 mod 0", "e_prs", "Division by zero in 5 mod 0"},
        {"foo(1)", "e_nxt", "Undefined Function = foo"},
        {"#e2", "e_function", "Undefined Function = #e2"},
        {"[mZ]*2", "e_prs", "MatrName = [mZ]"},
    };
    for (const auto& c : cases) {
        LogError("", 0, "", kLogClear);
        double v;
        e_eval(c.formula, &v, 0);
        const std::string& log = errorLog();
        EXPECT_EQ(countOf(log, "Procedure : '"), 1) << c.formula << "\n" << log;
        EXPECT_NE(log.find(std::string("Procedure : '") + c.proc + " (Line:"), std::string::npos)
            << c.formula << "\n" << log;
        EXPECT_NE(log.find(c.detail), std::string::npos) << c.formula << "\n" << log;
        EXPECT_NE(log.find("  expression  : " + std::string(c.formula)), std::string::npos) << c.formula;
    }
    LogError("", 0, "", kLogClear);
    de_eval("1 2", 0);
    e_eval("1+", nullptr, 0);
    const std::string& log = errorLog();
    ASSERT_EQ(countOf(log, "Procedure : '"), 2);
    EXPECT_LT(log.find("'de_eval"), log.find("'e_prs"));
}

TEST_F(ParserTest, ErrorBoxesFollowTheMessageSwitch) {
    double v;
    e_eval("1+", &v, 0);
    EXPECT_TRUE(headless::shownMessages().empty());
    zrt::ShowMsgs(1);
    e_eval("1+", &v, 0);
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].title, "ZeRarove: Error");
    EXPECT_EQ(headless::shownMessages()[0].text.rfind("Procedure: e_prs\r\nSyntax error, token = ''\r\n\r\nDebug:\r\n", 0), 0u);
    e_eval("1/0", &v, 0);
    ASSERT_EQ(headless::shownMessages().size(), 2u);
    EXPECT_EQ(headless::shownMessages()[1].text, "Calculation error, token = '/'\r\n");
    EXPECT_EQ(eError(), ErrorCode::DivisionByZero);  // showing a message keeps the code
}

TEST_F(ParserTest, TrueValue) {
    double v = 0;
    e_eval("1<2", &v, 0);
    EXPECT_EQ(v, -1);
    EXPECT_EQ(zrt::SetBoolSign(1), 0);
    e_eval("1<2", &v, 0);
    EXPECT_EQ(v, 1);
    e_eval("1<2 and 1", &v, 0);
    EXPECT_EQ(v, 1);
    zrt::SetBoolSign(-1);
    zrt::SetBoolSign(0);
    e_eval("1<2", &v, 0);
    EXPECT_EQ(v, -1);
    EXPECT_TRUE(headless::shownMessages().empty());
    zrt::ShowMsgs(1);
    zrt::SetBoolSign(5);
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].text, "Procedure: SetBoolSign\r\nWrong parameter. Must be 1 or -1");
}

TEST_F(ParserTest, UserFunctions) {
    SetVarFunct("x", "2", ListKind::Vars);
    SetVarFunct("f", "x+1", ListKind::Functs);
    double v = 0;
    EXPECT_EQ(e_eval("3*f", &v, 1), 0);
    EXPECT_EQ(v, 9);
    EXPECT_EQ(e_eval("3*F", &v, 0), 0);  // names match in any case
    EXPECT_EQ(v, 9);

    // Bodies inserted by one entry are searched by the later ones.
    SetVarFunct("g", "f*f", ListKind::Functs);
    EXPECT_EQ(e_eval("g", &v, 0), 4);  // f was replaced before g inserted it: "(f*f)" stays
    ClearVarFuncList(ListKind::Functs);
    SetVarFunct("g", "h*h", ListKind::Functs);
    SetVarFunct("h", "x+1", ListKind::Functs);
    EXPECT_EQ(e_eval("g", &v, 0), 0);
    EXPECT_EQ(v, 9);

    // The check finds a name inside another entry.
    SetVarFunct("f", "x+1", ListKind::Functs);
    SetVarFunct("f2", "f*2", ListKind::Functs);
    LogError("", 0, "", kLogClear);
    EXPECT_EQ(e_eval("1", &v, 1), 1);
    EXPECT_EQ(eError(), ErrorCode::AmbiguousFunction);
    EXPECT_NE(errorLog().find("sFuncts: g=h*h;h=x+1;f=x+1;f2=f*2;\r\nFunct: h"), std::string::npos);
    EXPECT_EQ(de_eval("1", 1), 1.0);
    EXPECT_EQ(CheckFunctions(), ErrorCode::AmbiguousFunction);
    ClearVarFuncList(ListKind::Functs);
    setEError(ErrorCode::ValueNotDefined);
    EXPECT_EQ(CheckFunctions(), ErrorCode::ValueNotDefined);  // an empty list leaves the code alone
    SetVarFunct("a", "1", ListKind::Functs);
    SetVarFunct("b", "2", ListKind::Functs);
    EXPECT_EQ(CheckFunctions(), ErrorCode::None);
}

TEST_F(ParserTest, FunctionsThatExpandWithoutBoundStop) {
    // Each entry doubles the formula: 2^26 copies would take gigabytes.
    for (char c = 'a'; c < 'z'; ++c) {
        const std::string name = std::string("q") + c;
        const std::string next = std::string("q") + static_cast<char>(c + 1);
        SetVarFunct(name, next + "+" + next, ListKind::Functs);
    }
    double v = 0;
    EXPECT_EQ(e_eval("qa", &v, 0), 13);
    EXPECT_NE(errorLog().find("grows beyond"), std::string::npos);
}

TEST_F(ParserTest, NestingIsLimited) {
    double v = 0;
    const int fine = kMaxNesting - 1;
    EXPECT_EQ(e_eval(std::string(fine, '(') + "7" + std::string(fine, ')'), &v, 0), 0);
    EXPECT_EQ(v, 7);
    const std::string cases[] = {
        std::string(100000, '(') + "1" + std::string(100000, ')'),
        std::string(100000, '-') + "1",
        std::string(100000, '(') ,
        [] {
            std::string f;
            for (int i = 0; i < 5000; ++i) f += "sin(";
            return f + "1" + std::string(5000, ')');
        }(),
        [] {
            std::string f;
            for (int i = 0; i < 5000; ++i) f += "not ";
            return f + "1";
        }(),
        [] {
            std::string f;
            for (int i = 0; i < 5000; ++i) f += "sum(1;";
            return f + "1" + std::string(5000, ')');
        }(),
    };
    for (const std::string& f : cases) {
        LogError("", 0, "", kLogClear);
        EXPECT_EQ(e_eval(f, &v, 0), 3) << f.substr(0, 20);
        EXPECT_NE(errorLog().find("nests deeper than 1000 levels"), std::string::npos);
        EXPECT_EQ(parseDepth(), 0);
    }
}

TEST_F(ParserTest, LongFormulas) {
    std::string f = "1";
    while (f.size() < (10u << 20)) f += "+1";
    double v = 0;
    EXPECT_EQ(e_eval(f, &v, 0), 0);
    EXPECT_EQ(v, static_cast<double>(f.size() / 2 + 1));
    f.back() = '*';
    EXPECT_EQ(e_eval(f, &v, 0), 3);
}

TEST_F(ParserTest, ResultTypeAndReset) {
    EXPECT_EQ(zrt::GetResultType(), 0);
    SetVarFunct("x", "2", ListKind::Vars);
    SetVarFunct("f", "x", ListKind::Functs);
    SetStrMatrix("[mA];1;1;5", false);
    zrt::ShowMsgs(1);
    double v = 0;
    EXPECT_EQ(e_eval("[mA]", &v, 0), 1);
    EXPECT_EQ(zrt::GetResultType(), 1);
    e_eval("1+", &v, 0);
    EXPECT_EQ(zrt::ReSetZeRarove(), 0);
    EXPECT_EQ(zrt::GetResultType(), -1);
    EXPECT_EQ(matrixCount(), 0u);
    EXPECT_EQ(varFuncListText(ListKind::Vars), "");
    EXPECT_EQ(varFuncListText(ListKind::Functs), "");
    EXPECT_EQ(messageSwitch(), 0);
    EXPECT_EQ(errorLog(), "");
    EXPECT_EQ(e_eval("x", &v, 0), 4);
}

TEST_F(ParserTest, TracingChangesNoResult) {
    SetVarFunct("x", "0.7", ListKind::Vars);
    const char* formulas[] = {"sin(x)*x^2+3*x-1/(1+x^2)", "sum(x;2;3)*not 0", "1+", "(1/0)x"};
    for (const char* f : formulas) {
        zrt::SetDebugF(1);
        double plain = 0, traced = 0;
        const int a = e_eval(f, &plain, 0);
        zrt::SetDebugF(4);
        const int b = e_eval(f, &traced, 0);
        EXPECT_EQ(a, b) << f;
        EXPECT_EQ(plain, traced) << f;
    }
    EXPECT_NE(debugLog().find("||| e_match() |||"), std::string::npos);
    EXPECT_NE(debugLog().find("expected = ) ---> got = )"), std::string::npos);
}

TEST_F(ParserTest, AnEvaluationWhileAnErrorBoxIsOpen) {
    // A host that evaluates again while the evaluator shows an error: both
    // evaluations keep their own formula, token, code and temporaries.
    SetVarFunct("x", "2", ListKind::Vars);
    SetStrMatrix("[mA];1;2;1;2", false);
    zrt::ShowMsgs(1);
    int nestedCode = 0;
    double nestedValue = 0;
    headless::setWhileBoxIsOpen([&] { nestedCode = e_eval("x*10+[mA]*[mA]", &nestedValue, 0); });
    double v = -1;
    EXPECT_EQ(e_eval("(1+)+x", &v, 0), 3);
    EXPECT_EQ(nestedCode, 5);  // the nested one failed on its own: matrix sizes
    headless::setWhileBoxIsOpen([&] { nestedCode = e_eval("x*10", &nestedValue, 0); });
    EXPECT_EQ(e_eval("(1+)+x", &v, 0), 3);
    EXPECT_EQ(nestedCode, 0);
    EXPECT_EQ(nestedValue, 20);
    EXPECT_EQ(lexerReport().expression, "(1+)+x");
    EXPECT_EQ(v, -1);
    headless::setWhileBoxIsOpen([&] { nestedCode = e_eval("[mA]", &nestedValue, 0); });
    EXPECT_EQ(e_eval("1/0", &v, 0), 8);
    EXPECT_EQ(nestedCode, 1);
    EXPECT_NE(findMatrixByAddress(static_cast<std::intptr_t>(nestedValue)), nullptr);
    headless::setWhileBoxIsOpen(nullptr);
    EXPECT_EQ(parseDepth(), 0);
    EXPECT_EQ(e_eval("x+1", &v, 0), 0);
    EXPECT_EQ(v, 3);
}
