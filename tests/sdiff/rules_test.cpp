// Derivative templates before simplification, the minimal-bracket printer
// (whose texts must read back as the same tree) and the simplifier.
#include "sdiff/rules.h"

#include <string>
#include <vector>

#include "sdiff/derivative_table.h"
#include "sdiff/reference_eval.h"
#include "sdiff/sdiff.h"
#include "sdiff/sdiff_support.h"
#include "sdiff/simplify.h"
#include "support/library_test.h"

using namespace zrt;
using sdiff_test::readOutcome;
using sdiff_test::readTree;

class RulesTest : public LibraryTest {
   protected:
    static std::string rawDerivative(const std::string& formula, const std::string& var) {
        diffState().dVar = var;
        const std::int32_t root = readTree(formula);
        EXPECT_EQ(diffState().diffErr, 0) << formula;
        return Df(root);
    }
    static double valueOf(const std::string& text) {
        return sdiff_test::ReferenceEval(text,
                                         {{"a", 1.3}, {"b", 0.7}, {"c", 2.1}, {"d", 0.4}, {"x", 2}})
            .value();
    }
    static std::string simplified(const std::string& text) {
        const std::int32_t root = readTree(text);
        if (diffState().diffErr || diffState().bc) return "unread";
        return Diff_GetFormula(Diff_Simplify(root));
    }
};

TEST_F(RulesTest, TemplatesBeforeSimplification) {
    const struct {
        const char* formula;
        const char* var;
        const char* text;
    } cases[] = {
        {"x+y", "x", "((1)+(0))"},
        {"X", "x", "0"},  // names compare case-sensitively
        // A subtree without the variable derives to 0 before any rule.
        {"2*3", "x", "0"},
        {"x*(-1)^2", "x", "((1)*(((-1)^(2)))+(0)*(x))"},
        {"sqrt(0)+x", "x", "((0)+(1))"},
        {"x/y", "x", "((1)*(y)-(0)*(x))/(y)^2"},
        {"-x", "x", "(-(1))"},
        {"x^(-2)", "x", "((-2)*(x)^(-3)*(1))+((x)^(-2)*(ln(x)*0))"},
        {"x^0.5", "x", "((0.5)*(x)^(-0.5)*(1))+((x)^(0.5)*(ln(x)*0))"},
        {"x^1.5", "x", "((1.5)*(x)^(0.5)*(1))+((x)^(1.5)*(ln(x)*0))"},
        {"x^n", "x", "((n)*(x)^((n)-1)*(1))+((x)^(n)*(ln(x)*0))"},
        {"log10(x)", "x", "(1/(x)*(1))/(2.302585)"},
        {"cos(x)", "x", "(-sin(x)*(1))"},
        {"sin(tan(x))", "x", "(cos(tan(x))*((1/(cos(x)^2)*(1))))"},
        {"sgn(x)+heaviside(x)", "x", "((0)+(0))"},
    };
    for (const auto& c : cases) EXPECT_EQ(rawDerivative(c.formula, c.var), c.text) << c.formula;
}

TEST_F(RulesTest, PrinterUsesFewBracketsAndReadsBack) {
    const struct {
        const char* text;
        const char* printed;
    } cases[] = {
        {"a-(b+c)", "a-(b+c)"},     {"a*(-b)", "a*((-b))"},     {"(a+b)*c", "(a+b)*c"},
        {"a+(b+c)", "a+b+c"},       {"(a-b)-c", "a-b-c"},       {"a-(b-c)", "a-(b-c)"},
        {"a/(b*c)", "a/(b*c)"},     {"(a*b)/c", "a*b/c"},       {"a/b^2", "a/b^2"},
        {"a/sin(b)", "a/sin(b)"},   {"(a+b)/c", "(a+b)/c"},     {"(a+b)^2", "(a+b)^2"},
        {"sin(a)^2", "(sin(a))^2"}, {"a^(-2)", "a^(-2)"},       {"-a*b", "(-(a*b))"},
        {"(-a)", "(-a)"},           {"-sin(a)", "(-sin(a))"},   {"-2", "(-2)"},
        {"a+(-2)", "a+(-2)"},       {"(-2)^x", "(-2)^x"},       {"-(2^x)", "(-2^x)"},
        {"-(a+b)", "(-(a+b))"},     {"a*b/(c/d)", "a*b/(c/d)"}, {"sqrt(a+b)", "sqrt(a+b)"},
    };
    for (const auto& c : cases) {
        const std::string printed = readOutcome(readTree(c.text), Diff_GetFormula);
        EXPECT_EQ(printed, c.printed) << c.text;
        // Read back, the printed text has the value of the original.
        const std::string before = readOutcome(readTree(c.text), Df_GetFormula);
        const std::string after = readOutcome(readTree(printed), Df_GetFormula);
        EXPECT_DOUBLE_EQ(valueOf(after), valueOf(before)) << c.text << " -> " << after;
    }
    EXPECT_EQ(readOutcome(readTree("(x)^((n)-1)", true), Diff_GetFormula), "x^(n-1)");
}

TEST_F(RulesTest, SimplifierRules) {
    const struct {
        const char* text;
        const char* result;
    } cases[] = {
        {"x*1+0", "x"},
        {"0-x", "(-x)"},
        {"0*sin(x)", "0"},
        {"1*x", "x"},
        {"x/1", "x"},
        {"0/x", "0"},
        {"x-0", "x"},
        {"0+x", "x"},
        {"2*3", "6"},
        {"3*0.5", "1.5"},
        {"1/3", "0.3333333333"},
        {"2/3", "0.6666666667"},
        {"5-7", "(-2)"},
        {"-(3)", "(-3)"},
        {"sin(0)", "0"},
        {"cos(0)", "1"},
        {"exp(0)", "1"},
        {"abs(0-2.5)", "2.5"},
        {"sgn(-2)", "(-1)"},
        {"sgn(0)", "0"},
        {"heaviside(0)", "1"},
        {"heaviside(-1)", "0"},
        {"(-2)^3", "(-8)"},
        {"(-2)^2", "4"},
        {"(-4)^0.5", "(-2)"},
        {"2^0.5", "1.4142135624"},
        {"10^2", "100"},
        {"0^0", "0"},
        {"x^0", "1"},
        {"x^1", "x"},
        {"x+x", "x+x"},
        {"x*2*3", "x*2*3"},
        {"ln(2)", "0.6931471806"},
        {"log10(1000)", "3"},
        {"arcctg(0)", "1.5707963705"},
        {"arcsin(1)", "1.5707963268"},
        {"th(800)", "1"},
        {"sh(1)", "1.1752011936"},
        {"cth(0)", "+Infinity"},
        {"ln(0)", "(-Infinity)"},
        {"sqrt(0-1)", "NaN"},
        {"1e20*10", "1000000000000000000000"},
        {"tg(0)*x", "0"},
        {"ctg(1)", "0.6420926159"},
        {"2.50*x", "2.50*x"},
    };
    for (const auto& c : cases) EXPECT_EQ(simplified(c.text), c.result) << c.text;
}

TEST_F(RulesTest, DivisionByZeroIsRaisedAndLeftInPlace) {
    setEError(ErrorCode::None);
    EXPECT_EQ(simplified("x/(1-1)+2*3"), "x/0+6");
    EXPECT_EQ(diffState().diffErr, 1);
    EXPECT_EQ(eError(), diffErrorCode(kDiffDivisionByZero));
}

TEST_F(RulesTest, DerivativeTreeIsTheDerivativeTextReadBack) {
    std::vector<std::pair<std::string, std::string>> formulas;
    for (const auto& c : sdiff_test::kDerivativeTable) formulas.emplace_back(c.formula, c.variable);
    std::mt19937 rng(20240607);
    for (int i = 0; i < 400; ++i)
        formulas.emplace_back(sdiff_test::randomFormula(rng, 1 + i % 5), "x");
    formulas.emplace_back("x^1e400", "x");  // the reduced exponent is no number
    std::string product = "x";              // too many copies for the table
    for (int i = 0; i < 100; ++i) product += "*x";
    formulas.emplace_back(product, "x");

    for (const auto& [formula, var] : formulas) {
        diffState().dVar = var;
        const std::int32_t root = readTree(formula);
        ASSERT_EQ(diffState().diffErr, 0) << formula;
        const std::int32_t formulaNodes = diffState().Index;

        resetReader();
        const std::string text = Df(root);
        std::string viaText = "unread";
        if (!diffState().diffErr) {
            diffState().derivativeText = true;
            const std::int32_t r = GetTreeExpr(text);
            diffState().derivativeText = false;
            if (!diffState().diffErr && diffState().bc == 0) viaText = Df_GetFormula(r);
        }
        const std::int32_t textNodes = diffState().Index;

        diffState().Index = formulaNodes;
        diffState().tableFull = false;
        resetReader();
        const std::int32_t r = DfTree(root);
        const std::string direct = diffState().diffErr ? "unread" : Df_GetFormula(r);
        EXPECT_EQ(direct, viaText) << formula;
        if (viaText != "unread") {
            EXPECT_EQ(diffState().Index, textNodes) << formula;
        }
    }
}
