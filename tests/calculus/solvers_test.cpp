// The start-value walk and the Newton solvers.
#include "calculus/solvers.h"

#include <cmath>
#include <string>

#include "base/errors.h"
#include "base/numtext.h"
#include "memory/varstore.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

class SolversTest : public LibraryTest {};

TEST_F(SolversTest, StartValues) {
    const struct {
        const char* formula;
        double start;
    } cases[] = {
        {"x^2-4", 1},                           // f(0) = -4, f(1) = -3
        {"x^2-1", 1},                           // |f(0)| <= 3: 0 becomes 1
        {"x-10", 7},                            // walks up to |f| <= 3
        {"x+10", -7},                           // and down
        {"x^2+10", 1},                          // no root: |f| never <= 3, the walk stays at 0 -> 1
        {"(x-50)^2-100", 40}, {"x-1000", 200},  // the walk stops after 200 steps
        {"sqrt(x-5)-10", 1},                    // points without a value count as 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dPolySolve(c.formula, "x"), c.start) << c.formula;
        double start = 0;
        NewtSolve(c.formula, "x", &start);
        EXPECT_EQ(start, c.start) << c.formula;
        EXPECT_EQ(sPolyNewt(c.formula, "x", 200), FixText(c.start)) << c.formula;
    }
    EXPECT_EQ(sPolyNewt("x-10", "x", 3), "3.0000000000");
    EXPECT_EQ(sPolyNewt("x-10", "x", 0), "1.0000000000");
    EXPECT_EQ(sPolyNewt("x-10", "x", -5), "1.0000000000");
}

TEST_F(SolversTest, NewtonSteps) {
    const struct {
        const char* formula;
        double root;
    } cases[] = {
        {"x^2-4", 2}, {"x^3-2*x-5", 2.0945514815423265}, {"-x^2+9", 3},
        {"x-10", 10}, {"x^2-2", 1.4142135623730951},
    };
    for (const auto& c : cases) {
        // f is evaluated at x's ten-decimal text: the root is as close as that.
        EXPECT_NEAR(dSolve(c.formula, "x"), c.root, 1e-10) << c.formula;
        EXPECT_EQ(eError(), ErrorCode::None) << c.formula;
        EXPECT_NEAR(DecValue(sSolve(c.formula, "x", 20)), c.root, 2e-10) << c.formula;
        EXPECT_EQ(eError(), ErrorCode::None) << c.formula;
    }
    // The variable keeps the last value tried.
    dSolve("y^2-4", "y");
    EXPECT_EQ(findVarEntry(ListKind::Vars, "y")->value, "2.0000000000");
    // No real root: 20 steps, no error, whatever x is then.
    const double x = dSolve("x^2+10", "x");
    EXPECT_EQ(eError(), ErrorCode::None);
    EXPECT_TRUE(std::isfinite(x));
}

TEST_F(SolversTest, TextNewtonWithFewOrManySteps) {
    EXPECT_EQ(sSolve("x^2-4", "x", 0), "1.0000000000");  // the start value
    EXPECT_EQ(sSolve("x^2-4", "x", -3), "1.0000000000");
    EXPECT_EQ(sSolve("x^2-4", "x", 1), "2.5000000000");
    EXPECT_EQ(sSolve("x^2-4", "x", 2000000), "");
    EXPECT_EQ(eError(), ErrorCode::InvalidArgument);
    EXPECT_EQ(sPolyNewt("x", "x", 2000000), "");
    EXPECT_EQ(eError(), ErrorCode::InvalidArgument);
}

TEST_F(SolversTest, ZeroDerivativeTakesAPlainStep) {
    // A constant has an empty derivative text, which has no value.
    EXPECT_EQ(dSolve("5", "x"), 1);
    EXPECT_EQ(eError(), ErrorCode::ParserSyntax);
    // x^2-2*x+1 starts at 1, where its derivative 2*x - 2 is 0.
    const double x = dSolve("x^2-2*x+1", "x");
    EXPECT_EQ(eError(), ErrorCode::None);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(sSolve("x^2-2*x+1", "x", 5), "1.0000000000");
}

TEST_F(SolversTest, RefusedArguments) {
    EXPECT_EQ(NewtSolve("x-1", "x", nullptr), 5);
    EXPECT_EQ(eError(), ErrorCode::ValueNotDefined);
    const char* names[] = {"", " ", "2x", "x y", "x;y", "a=b"};
    for (const char* name : names) {
        double start = -9;
        EXPECT_EQ(NewtSolve("x-1", name, &start), 13) << name;
        EXPECT_EQ(start, -9);
        EXPECT_EQ(dPolySolve("x-1", name), 0) << name;
        EXPECT_EQ(dSolve("x-1", name), 0) << name;
        EXPECT_EQ(sSolve("x-1", name, 3), "") << name;
        EXPECT_EQ(eError(), ErrorCode::InvalidArgument) << name;
    }
    EXPECT_EQ(varFuncListText(ListKind::Vars), "");
}

TEST_F(SolversTest, EvaluationErrorsEndTheNewtonSteps) {
    LogError("", 0, "", kLogClear);
    dSolve("x^2-4+[mZ]", "x");
    EXPECT_EQ(eError(), ErrorCode::MatrixNotFound);
    EXPECT_NE(errorLog().find("Newton step 1: no value"), std::string::npos);
    sSolve("x^2-4+[mZ]", "x", 5);
    EXPECT_EQ(eError(), ErrorCode::MatrixNotFound);
}

TEST_F(SolversTest, TraceLinesChangeNothing) {
    const double plain = dSolve("x^3-2*x-5", "x");
    zrt::SetDebugF(4);
    EXPECT_EQ(dSolve("x^3-2*x-5", "x"), plain);
    EXPECT_NE(debugLog().find("Newton step 20: x = 2.094551481"), std::string::npos);
    EXPECT_NE(debugLog().find("e_error = -1"), std::string::npos);
}
