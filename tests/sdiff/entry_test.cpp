// e_diff and its companions as a caller sees them: the pre-filled buffer, the
// error byte and codes, the trace, the help text, and formulas at the limits.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "base/errors.h"
#include "sdiff/sdiff.h"
#include "sdiff/tree.h"
#include "support/library_test.h"

using namespace zrt;

class EntryTest : public LibraryTest {
   protected:
    // e_diff through the export with a buffer pre-filled to `capacity` blanks.
    int diff(const std::string& formula, const std::string& var, int capacity,
             std::string* text = nullptr) {
        std::u16string buffer(static_cast<std::size_t>(capacity), u' ');
        buffer += u"#guard";
        buffer[static_cast<std::size_t>(capacity)] = 0;
        const int n =
            ::e_diff(P(Z(formula)), P(Z(var)), reinterpret_cast<zrt_char*>(&buffer[0]), 7);
        EXPECT_EQ(buffer.substr(static_cast<std::size_t>(capacity) + 1), u"guard") << formula;
        if (text) *text = U(reinterpret_cast<const zrt_char*>(buffer.c_str()));
        return n;
    }
    static std::string readFile(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(EntryTest, BufferTakesTheCapacityOfItsText) {
    std::string text;
    EXPECT_EQ(diff("x^3", "x", 1000, &text), 5);
    EXPECT_EQ(text, "3*x^2");
    EXPECT_EQ(diff("x^3", "x", 3, &text), 5);  // cut, the full length still returned
    EXPECT_EQ(text, "3*x");
    EXPECT_EQ(diff("x^3", "x", 0, &text), 5);
    EXPECT_EQ(text, "");
    EXPECT_EQ(diff("sin(x)", "x", 6, &text), 6);
    EXPECT_EQ(text, "cos(x)");
    EXPECT_EQ(diff("y", "x", 10, &text), 1);
    EXPECT_EQ(text, "0");
    EXPECT_EQ(diff("2*3", "x", 10, &text), 1);
    EXPECT_EQ(text, "0");
    EXPECT_EQ(::e_diff(P(Z("x^3")), P(Z("x")), nullptr, 0), 5);
    EXPECT_EQ(::GetLast_diffErr(), 0);
    EXPECT_EQ(::GetE_Error(), -1);
}

TEST_F(EntryTest, FailuresSetTheErrorByteAndCode) {
    const struct {
        const char* formula;
        int diffErr;
        int code;
        const char* text;  // what the buffer holds afterwards
    } cases[] = {
        {"", 7, 7, "          "},         {"   ", 7, 7, "          "},
        {"(x", 1, 6, "          "},       {"x)", 1, 6, "          "},
        {"x*-2", 1, 6, "          "},     {"x/0", 1, 8, "0/0"},  // the text stands, the result is 0
        {"x^2+x/(2-2)", 1, 8, "2*x+0/0"},
    };
    for (const auto& c : cases) {
        std::string text;
        SetE_Error(-1);
        EXPECT_EQ(diff(c.formula, "x", 10, &text), 0) << c.formula;
        EXPECT_EQ(::GetLast_diffErr(), c.diffErr) << c.formula;
        EXPECT_EQ(::GetE_Error(), c.code) << c.formula;
        EXPECT_EQ(text, c.text) << c.formula;
    }
    // Each failure is one entry of the error log.
    EXPECT_NE(errorLog().find("Procedure : 'e_diff"), std::string::npos);
    EXPECT_NE(errorLog().find("GetSingleOp: Function: Wrong first operand"), std::string::npos);
    EXPECT_EQ(diff("x^2", "x", 10), 3);  // success clears the byte
    EXPECT_EQ(::GetLast_diffErr(), 0);
}

TEST_F(EntryTest, NullTextsAndHugeFormulas) {
    EXPECT_EQ(::e_diff(nullptr, nullptr, nullptr, -1), 0);
    EXPECT_EQ(::GetLast_diffErr(), 7);
    EXPECT_EQ(::e_diff(P(Z("x*y")), nullptr, nullptr, 0), 1);  // "0": no name matches
    // A long name survives the round trip whole.
    const std::string name(1 << 20, 'a');
    std::string result;
    EXPECT_EQ(eDiff(name + "*x", "x", result), 1 << 20);
    EXPECT_EQ(result, name);
    // A megabyte of terms runs out of nodes and is turned down.
    std::string sum = "x";
    while (sum.size() < (1u << 20)) sum += "+x";
    EXPECT_EQ(eDiff(sum, "x", result), 0);
    EXPECT_EQ(eError(), diffErrorCode(kDiffErrorInFormula));
    EXPECT_NE(diffState().raised.find("Too long formula"), std::string::npos);
}

TEST_F(EntryTest, BothTreesShareTheNodeTable) {
    // k terms: 2k-1 nodes in the formula and 2k-1 in its derivative.
    auto terms = [](int k) {
        std::string s = "x";
        for (int i = 1; i < k; ++i) s += "+x";
        return s;
    };
    std::string result;
    EXPECT_EQ(eDiff(terms(1250), "x", result), 4);
    EXPECT_EQ(result, "1250");
    EXPECT_EQ(eDiff(terms(1251), "x", result), 0);
    EXPECT_EQ(zrt::GetLast_diffErr(), 1);
    EXPECT_EQ(eError(), diffErrorCode(kDiffErrorInFormula));
    // A product copies its factors into the derivative many times over.
    std::string product = "x";
    for (int i = 1; i < 200; ++i) product += "*x";
    EXPECT_EQ(eDiff(product, "x", result), 0);
    EXPECT_NE(diffState().raised.find("Too long formula"), std::string::npos);
}

TEST_F(EntryTest, LongNamesCopiedTooOftenAreTooLong) {
    // Each power copies its base three times: 66 copies of a 1 MB name.
    const std::string name(1 << 20, 'a');
    std::string formula = name;
    for (int i = 0; i < 22; ++i) formula += "^2";
    for (int mode : {0, 3}) {
        zrt::SetDiffLogF(static_cast<std::uint8_t>(mode), "");
        std::string result;
        EXPECT_EQ(eDiff(formula, name, result), 0) << mode;
        EXPECT_EQ(eError(), diffErrorCode(kDiffErrorInFormula)) << mode;
        EXPECT_NE(diffState().raised.find("Too long formula"), std::string::npos) << mode;
        EXPECT_EQ(eDiff(formula.substr((1 << 20) - 3), name, result), 1) << mode;  // aaa^2^2...
    }
}

TEST_F(EntryTest, DeepFormulasNeedNoDeepStack) {
    std::string result;
    const int depth = 100000;
    EXPECT_EQ(eDiff(std::string(depth, '(') + "x^2" + std::string(depth, ')'), "x", result), 3);
    EXPECT_EQ(result, "2*x");
    std::string chain;  // 2000 negations: 4002 nodes with the derivative
    for (int i = 0; i < 2000; ++i) chain += "-(";
    chain += "x" + std::string(2000, ')');
    EXPECT_EQ(eDiff(chain, "x", result), 1);
    EXPECT_EQ(result, "1");
    std::string nested = "x";  // sin(sin(...)): a derivative of 30 factors
    for (int i = 0; i < 30; ++i) nested = "sin(" + nested + ")";
    EXPECT_GT(eDiff(nested, "x", result), 0);
    std::string powers = "x";  // each power copies its base three times
    for (int i = 0; i < 25; ++i) powers += "^1";
    EXPECT_EQ(eDiff(powers, "x", result), 1);
    EXPECT_EQ(result, "1");
}

TEST_F(EntryTest, TraceModes) {
    EXPECT_EQ(::SetDiffLogF(3, nullptr), 3);
    std::string result;
    eDiff("x^2", "x", result);
    const int counted = diffState().traceCount;
    EXPECT_GT(counted, 20);
    EXPECT_EQ(diffState().traceLast, std::to_string(counted) + ": (0) Diff, OUT 21, sol=e^x");
    EXPECT_TRUE(diffState().traceIndent.empty());
    EXPECT_TRUE(diffState().tracePath.empty());

    const std::string file = "sdiff_trace_test.log";
    std::remove(file.c_str());
    EXPECT_EQ(::SetDiffLogF(1, P(Z(file))), 1);
    eDiff("sin(x)", "x", result);
    const std::string log = readFile(file);
    EXPECT_EQ(log.substr(0, log.find("\r\n")),
              std::to_string(counted + 1) + ": (0) Formula, sin(x)");
    EXPECT_NE(
        log.find(": (0) Nodes Expr., index=1, \\l=2, \\r=0, \\opCode=11, op=sin, \\con=sin\r\n"),
        std::string::npos);
    EXPECT_NE(log.find(": (1)  Df, IN_, _t=1, \\t[_t]\\opCode=11\r\n"), std::string::npos);
    EXPECT_NE(log.find(": (0)  Df, OUT 16, _t=1, Result=(cos(x)*(1))\r\n"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = log.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(static_cast<int>(lines), diffState().traceCount - counted);
    std::remove(file.c_str());

    // An empty name: "Derive.Log", created empty on first use.
    std::remove("Derive.Log");
    ::SetDiffLogF(1, P(Z("")));
    eDiff("", "x", result);
    EXPECT_EQ(readFile("Derive.Log"), "");  // an empty formula raises nothing
    eDiff("x", "x", result);
    EXPECT_NE(readFile("Derive.Log").find("Formula, x\r\n"), std::string::npos);
    std::remove("Derive.Log");

    ::SetDiffLogF(2, nullptr);
    eDiff("x*-1", "x", result);
    ASSERT_FALSE(headless::shownMessages().empty());
    EXPECT_EQ(headless::shownMessages()[0].title, "ERR, (s)");
    EXPECT_NE(headless::shownMessages()[0].text.find("GetSingleOp: Function: Wrong first operand"),
              std::string::npos);

    ::SetDiffLogF(0, nullptr);
    const int before = diffState().traceCount;
    eDiff("x^2", "x", result);
    EXPECT_EQ(diffState().traceCount, before);
    EXPECT_EQ(result, "2*x");  // tracing changes nothing
}

TEST_F(EntryTest, HelpText) {
    const int bytes = ::GetDiff_OperAndFuncs(nullptr);
    const std::string text = diffOperAndFuncs();
    EXPECT_EQ(bytes, static_cast<int>(text.size()) * 2 + 1);
    std::u16string buffer(text.size() + 2, u'#');
    EXPECT_EQ(::GetDiff_OperAndFuncs(reinterpret_cast<zrt_char*>(&buffer[0])), bytes);
    EXPECT_EQ(buffer[text.size()], 0);
    EXPECT_EQ(buffer[text.size() + 1], u'#');
    EXPECT_EQ(U(reinterpret_cast<const zrt_char*>(buffer.c_str())), text);
    const std::string head =
        "Library: Zerith.dll - Version: 0.0.4.8 (build: 49)\r\nSupported Constants:\r\n  PI\t= "
        "3.1415926536 (also #PI)\r\n  e \t= 2.7182818285 (also #e)\r\n  to";
    EXPECT_EQ(text.substr(0, head.size()), head);
    for (const char* part :
         {"\r\n  to_deg\t= 57.2957795131 (also #to_deg)\r\n  to_rad\t=0.0174532925 (also #to_rad)",
          "\r\nSupported Logical Operators:\r\n and eqv imp mod not or xor \r\n",
          "\r\n min max avg sum sum2 prod prod2 stddev count geom_mean median mean \r\n",
          "\r\n det trace syst vcoeff  I=Inverse, T=Traspost, D=Diagonal\r\n(es. Expr",
          "\r\n  ^ \t= power operator\r\n  & \t= hexadecimal number (es. &FF = 256) <ver. "
          "0.0.4.6>"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    const std::string tail = "\r\n  arcctg(x)\t= arccotangent of x (also arccotan(x))";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}
