// The formula reader: what tree a text becomes, which texts it rejects with
// which code, and how far it goes (node table, nesting).
#include <string>

#include "sdiff/rules.h"
#include "sdiff/sdiff.h"
#include "sdiff/sdiff_support.h"
#include "support/library_test.h"

using namespace zrt;
using sdiff_test::readOutcome;
using sdiff_test::readTree;

class ReaderTest : public LibraryTest {};

TEST_F(ReaderTest, TextsBecomeTreesOrErrors) {
    const struct {
        const char* text;
        const char* tree;  // fully bracketed, or the outcome
    } cases[] = {
        {"-x+1", "(((-(x)))+(1))"},
        {"-2*x", "((-2)*(x))"},
        {"(-x)", "(-(x))"},
        {"x*(-2)", "((x)*(-2))"},
        {"-(x+1)", "(-(((x)+(1))))"},
        {"-sin(x)", "(-(sin(x)))"},
        {"-a*b", "(-(((a)*(b))))"},
        {"+x", "x"},
        {"-+x", "(-(x))"},
        {"x^2^3", "((((x)^(2)))^(3))"},
        {"x^(-2)", "((x)^(-2))"},
        {" x ^ ( n ) ", "((x)^(n))"},
        {"(x+1)^0.5", "((((x)+(1)))^(0.5))"},
        {"-2^2", "(-(((2)^(2))))"},  // as the evaluator reads it
        {"(-2)^2", "((-2)^(2))"},
        {"a-b-c", "((((a)-(b)))-(c))"},
        {"a/b/c", "((((a)/(b)))/(c))"},
        {"2.5e+3*x1_", "error -1"},
        {"2.5E-3*_a1", "((2.5E-3)*(_a1))"},
        {"((((x))))", "x"},
        {"x*-2", "error 3"},
        {"a+-b", "error 3"},
        {"2^-1", "error 5"},
        {"x^(2+1)", "error 5"},
        {"x^(2", "error 5"},
        {"x^sin(x)", "error 5"},
        {"x^((n)-1)", "error 5"},  // only in derivative texts
        {"sin x", "error 4"},
        {"sin", "error 4"},
        {"1.e3", "error 2"},
        {"2e", "error 2"},
        {"2e+", "error 2"},
        {"x,5", "error 6"},
        {"x%2", "error 6"},
        {"x\t+1", "error 6"},
        {"x+\xC2\xB2", "error 6"},        // ² is no letter
        {"x+\xC3\xBC", "((x)+(\xC3\xBC))"},  // ü is one
        {"", "error 3"},
        {"()", "error 3"},
        {"x y", "error -1"},
        {"Sin(x)", "error -1"},  // a name followed by a bracket
        {"COS(x)", "error -1"},
        {"sin2+h1", "((sin2)+(h1))"},
        {"x)", "bc -1"},
        {"(x", "bc 1"},
        {"(x))+(", "bc -1"},
        {"sin(x", "bc 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readOutcome(readTree(c.text), Df_GetFormula), c.tree) << c.text;
}

TEST_F(ReaderTest, DerivativeTextsTakeAnExpressionAsExponent) {
    EXPECT_EQ(readOutcome(readTree("(x)^((n)-1)*2", true), Df_GetFormula),
              "((((x)^(((n)-(1)))))*(2))");
    EXPECT_EQ(readOutcome(readTree("(x)^(n)", true), Df_GetFormula), "((x)^(n))");
}

TEST_F(ReaderTest, NodeTableHoldsFiveThousandNodes) {
    std::string sum = "x";
    for (int i = 1; i < 2500; ++i) sum += "+x";  // 4999 nodes
    readTree(sum);
    EXPECT_EQ(diffState().diffErr, 0);
    EXPECT_EQ(diffState().Index, 4999);
    readTree(sum + "*2");  // 5001
    EXPECT_EQ(diffState().diffErr, 1);
    EXPECT_EQ(eError(), diffErrorCode(kDiffTooLong));
    EXPECT_EQ(diffState().Index, kMaxNodes);
    EXPECT_EQ(diffState().t[0].opCode, 0);  // node 0 is never handed out
}
