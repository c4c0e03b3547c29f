#include "evaluator/lexer.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "memory/varstore.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

class LexerTest : public LibraryTest {};

namespace {

// Every token of a formula as "token:element", the matrix suffix after a "/".
std::vector<std::string> tokens(const std::string& formula) {
    std::vector<std::string> out;
    lexerStart(formula);
    for (int guard = 0; guard < 100; ++guard) {
        e_nxt();
        const Token& t = currentToken();
        std::string line = tokenText(t) + ":" + currentElement();
        if (t.suffix) line += std::string("/") + t.suffix;
        out.push_back(line);
        if (t.kind == Tok::End) break;
    }
    return out;
}

using Seq = std::vector<std::string>;

}  // namespace

TEST_F(LexerTest, CutsFormulasIntoTokens) {
    SetVarFunct("x", "2", ListKind::Vars);
    SetVarFunct("sin2", "3", ListKind::Vars);
    const struct {
        const char* formula;
        Seq want;
    } cases[] = {
        {"12.5*x", {"num:12.5", "*:*", "num:2.0000000000", ":"}},
        {"SIN(1)", {"id:sin", "(:(", "num:1", "):)", ":"}},
        {"[mA]T", {"matrix:[mA]/T", ":"}},
        {"[mA]d+1", {"matrix:[mA]/D", "+:+", "num:1", ":"}},
        {"[mA] T", {"matrix:[mA]", "id:t", ":"}},
        {"&1F+1", {"hex:&1F", "+:+", "num:1", ":"}},
        {"!1012", {"bin:!1012", ":"}},
        {"x<>x<=x>=x>>x", {"num:2.0000000000", "<>:<>", "num:2.0000000000", "<=:<=", "num:2.0000000000",
                          ">=:>=", "num:2.0000000000", ">>:>>", "num:2.0000000000", ":"}},
        {"x=<x", {"num:2.0000000000", "=:=", "<:<", "num:2.0000000000", ":"}},
        {"#PI+#2pi", {"const:#pi", "+:+", "const:#2pi", ":"}},
        {"x mod 3", {"num:2.0000000000", "mod:mod", "num:3", ":"}},
        {"Det trace SYST vcoeff", {"det:det", "trace:trace", "syst:syst", "vcoeff:vcoeff", ":"}},
        {"geom_mean median", {"geom_mean:geom_mean", "median:median", ":"}},
        {"pi e DEG to_rad", {"num:3.1415926536", "num:2.7182818285", "num:57.2957795131",
                             "num:0.0174532925", ":"}},
        {"sin2", {"num:3.0000000000", ":"}},  // a variable, not the function sin
        {" \t\r\n1 ;\t2 ", {"num:1", ";:;", "num:2", ":"}},
        {"1.2.3", {"num:1.2.3", ":"}},
        // Letters beyond ASCII belong to names; other characters beyond ASCII
        // are one token each.
        {"a\xC3\xA9", {"id:a\xC3\xA9", ":"}},
        {"größe π1 Ωmega_ж", {"id:größe", "id:π1", "id:Ωmega_ж", ":"}},
        {"2×3²", {"num:2", "×:×", "num:3", "²:²", ":"}},
        {"", {":"}},
    };
    for (const auto& c : cases) EXPECT_EQ(tokens(c.formula), c.want) << c.formula;
}

TEST_F(LexerTest, NamesAreClassifiedInOrder) {
    // A variable shadows constants and functions, but never a word.
    SetVarFunct("sin", "5", ListKind::Vars);
    SetVarFunct("pi", "1", ListKind::Vars);
    SetVarFunct("mod", "7", ListKind::Vars);
    EXPECT_EQ(tokens("sin pi mod"), (Seq{"num:5.0000000000", "num:1.0000000000", "mod:mod", ":"}));
    double v = 0;
    EXPECT_EQ(e_eval("sin+pi", &v, 0), 0);
    EXPECT_EQ(v, 6);
}

TEST_F(LexerTest, UnknownNamesAndOpenBrackets) {
    setEError(ErrorCode::None);
    EXPECT_EQ(tokens("1e5"), (Seq{"num:1", "id:e5", ":"}));
    EXPECT_EQ(eError(), ErrorCode::UndefinedFunction);
    EXPECT_NE(errorLog().find("Undefined Function = e5"), std::string::npos);

    // A pending error is never overwritten by a later name.
    SetVarFunct("x", "2", ListKind::Vars);
    setEError(ErrorCode::DivisionByZero);
    tokens("x foo sin");
    EXPECT_EQ(eError(), ErrorCode::DivisionByZero);

    // A "[" that is never closed takes the rest of the text and reports it.
    setEError(ErrorCode::None);
    EXPECT_EQ(tokens("[mA+1"), (Seq{"matrix:[mA+1", ":"}));
    EXPECT_EQ(eError(), ErrorCode::TokenMismatch);
}

TEST_F(LexerTest, VariablesEnterAsTenDecimalText) {
    const struct {
        const char* stored;
        double entered;
        const char* element;
    } cases[] = {
        {"0.333333333333333314829616256247", 0.3333333333, "0.3333333333"},
        {"0.00000000004", 0, "0.0000000000"},
        {"-0.5", -0.5, "-0.5000000000"},
        {"1e20", 1e20, "100000000000000000000.0000000000"},
        {"2.5e3", 2500, "2500.0000000000"},
        {"abc", 0, "0.0000000000"},
    };
    for (const auto& c : cases) {
        SetVarFunct("v", c.stored, ListKind::Vars);
        lexerStart("v");
        e_nxt();
        EXPECT_EQ(currentToken().value, c.entered) << c.stored;
        EXPECT_EQ(currentElement(), c.element) << c.stored;
        double v = -1;
        ASSERT_EQ(e_eval("v", &v, 0), 0);
        EXPECT_EQ(v, c.entered) << c.stored;
    }
}

TEST_F(LexerTest, PositionMarkerSpansTheToken) {
    SetVarFunct("x", "2", ListKind::Vars);
    lexerStart("12.5*x");
    e_nxt();
    EXPECT_EQ(lexerReport().marker, "pos(000)    = |--|");
    e_nxt();
    e_nxt();
    const LexerReport r = lexerReport();
    EXPECT_EQ(r.marker, "pos(005)    = -----|----------|");  // element 2.0000000000
    EXPECT_EQ(r.element, "2.0000000000");
    EXPECT_EQ(r.token, "num");
    EXPECT_EQ(r.remaining, "");

    // Positions of four digits keep their first three.
    lexerStart(std::string(1234, '1') + "+2");
    e_nxt();
    e_nxt();
    const std::string marker = lexerReport().marker;
    EXPECT_EQ(marker.substr(0, 14), "pos(123)    = ");
    EXPECT_EQ(marker.size(), 14u + 1234 + 1);
}

TEST_F(LexerTest, TraceLinesOnlyWhenTheTraceRecords) {
    SetVarFunct("x", "2", ListKind::Vars);
    double v = 0;
    e_eval("x+1", &v, 0);
    EXPECT_EQ(debugLog(), "");

    zrt::SetDebugF(4);
    e_eval("x+1", &v, 0);
    EXPECT_EQ(v, 3);
    const std::string& log = debugLog();
    EXPECT_NE(log.find("||| e_nxt(0) ENTRY |||"), std::string::npos);
    EXPECT_NE(log.find("||| e_nxt(1) EXIT |||"), std::string::npos);
    EXPECT_NE(log.find("element     = x => '2.0000000000'"), std::string::npos);
    EXPECT_NE(log.find("Run Count   = 2"), std::string::npos);
    EXPECT_NE(log.find("||| e_prs(1) ENTER |||"), std::string::npos);
    EXPECT_NE(log.find("nn          = 3"), std::string::npos);

    // A huge formula does not repeat itself in every trace line.
    clearDebugLog();
    e_eval(std::string(100000, '1'), &v, 0);
    EXPECT_LT(debugLog().size(), 20000u);
}

TEST_F(LexerTest, NumbersReadAsTheDecimalConversionReadsThem) {
    std::uint64_t s = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = std::to_string(next() % 100000000000ull);
        const std::size_t point = next() % (text.size() + 2);
        if (point < text.size()) text.insert(point, ".");
        if (i % 7 == 0) text = "0.000" + text;
        if (i % 11 == 0) text += ".5";  // a second point ends the number
        lexerStart(text);
        e_nxt();
        ASSERT_EQ(currentToken().value, DecValue(text)) << text;
        ASSERT_EQ(DecValue(text), std::strtod(text.substr(0, text.find('.', text.find('.') + 1)).c_str(), nullptr))
            << text;
    }
}
