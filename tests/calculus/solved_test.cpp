// SolveD through its export: Newton steps with the symbolic derivative from
// the searched start value, and what it does when something fails.
#include "calculus/solved.h"
#include "calculus/solvers.h"

#include <cmath>

#include "base/errors.h"
#include "memory/varstore.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

class SolveDTest : public LibraryTest {};

namespace {

int solve(const std::string& formula, const std::string& variable, double* root) {
    return ::SolveD(P(Z(formula)), P(Z(variable)), root);
}

}  // namespace

TEST_F(SolveDTest, RootsFromTheSearchedStart) {
    const struct {
        const char* formula;
        const char* variable;
        double start;  // where the walk over whole numbers stops
        double root;
        double tolerance;  // single-precision functions give seven digits
    } cases[] = {
        {"x^2-4", "x", 1, 2, 1e-10},  // f(0) = -4, f(1) = -3
        {"x^3-2*x-5", "x", -2, 2.0945514815423265, 1e-10},
        {"cos(x)-x", "x", 1, 0.7390851332151607, 1e-6},  // |f(0)| <= 3: 1, never 0
        {"exp(x)-10", "x", 2, 2.302585092994046, 1e-6},
        {"sh(x)-1", "x", 1, 0.881373587019543, 1e-6},
        {"arcctg(x)-0.5", "x", 1, 1.830487721712452, 1e-6},
        {"t^2-2,25", "t", 1, 1.5, 1e-10},  // "," is the decimal point
        {"X^2-9", "x", 3, 3, 1e-10},       // X is x to the evaluator
        {"q*q*q-8", "Q", 2, 2, 1e-10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(startValue(c.formula, c.variable, 200), c.start) << c.formula;
        double root = 0;
        EXPECT_EQ(solve(c.formula, c.variable, &root), codeNumber(ErrorCode::None)) << c.formula;
        EXPECT_NEAR(root, c.root, c.tolerance) << c.formula;
    }
    // The variable keeps the last value tried, as ten-decimal text.
    double x = 0;
    EXPECT_EQ(FindVarFunct("q", ListKind::Vars, &x, nullptr), 21);
    EXPECT_NEAR(x, 2, 1e-10);

    // The derivative of a user function is that of its formula.
    SetVarFunct("g", "x^2-9", ListKind::Functs);
    double root = 0;
    EXPECT_EQ(solve("g", "x", &root), codeNumber(ErrorCode::None));
    EXPECT_NEAR(root, 3, 1e-10);
}

// At x = 1 the derivative 2*x-2 of x^2-2*x-3 is exactly 0: the step is
// x - f(x) = 1 - (-4) = 5, and Newton goes on from there to 3.
TEST_F(SolveDTest, ZeroDerivativeTakesAPlainStep) {
    zrt::SetDebugF(4);
    clearDebugLog();
    double root = 0;
    EXPECT_EQ(solve("x^2-2*x-3", "x", &root), codeNumber(ErrorCode::None));
    EXPECT_NEAR(root, 3, 1e-10);
    EXPECT_NE(debugLog().find("\r\nSolveD: step 1, x = 5\r\n"), std::string::npos);
    EXPECT_NE(debugLog().find("\r\nSolveD: step 20, x = 3"), std::string::npos);
    EXPECT_NE(debugLog().find("\r\nSolveD: e_error = -1"), std::string::npos);
}

// A formula that cannot be derived: -1, nothing written, the differentiator's
// code in e_error.
TEST_F(SolveDTest, DifferentiationFailuresWriteNothing) {
    const struct {
        const char* formula;
        int code;
    } cases[] = {
        {"x^-1", 6}, {"(x", 6}, {"x%2", 6}, {"x/0", 8}, {"", 7}, {"   ", 7},
    };
    for (const auto& c : cases) {
        double root = 42;
        EXPECT_EQ(solve(c.formula, "x", &root), -1) << c.formula;
        EXPECT_EQ(root, 42) << c.formula;
        EXPECT_EQ(GetE_Error(), c.code) << c.formula;
        EXPECT_NE(GetLast_diffErr(), 0) << c.formula;
    }
    EXPECT_TRUE(varEntries(ListKind::Vars).empty());
}

TEST_F(SolveDTest, BadArgumentsAndFailedSteps) {
    double root = 42;
    EXPECT_EQ(solve("x^2-4", "x", nullptr), 5);
    EXPECT_EQ(::SolveD(nullptr, nullptr, nullptr), 5);
    EXPECT_EQ(::SolveD(nullptr, P(Z("x")), &root), -1);  // an empty formula
    EXPECT_EQ(GetE_Error(), 7);
    for (const char* variable : {"", " ", "1x", "a b", "x;y", "x=1"}) {
        EXPECT_EQ(solve("x^2-4", variable, &root), 13) << variable;
        EXPECT_EQ(root, 42);
    }
    EXPECT_TRUE(varEntries(ListKind::Vars).empty());

    // f has no value at the start (sqrt of a negative number): the steps end
    // there with the evaluator's code.
    EXPECT_EQ(solve("sqrt(x-5)-1", "x", &root), 13);
    EXPECT_EQ(root, 1);
    // The step from 1 lands at -3, where x^0.5 is no number: the steps end at
    // the last finite x with code 5.
    EXPECT_EQ(solve("x^0.5+1", "x", &root), 5);
    EXPECT_EQ(root, -3);
    // No real root: 20 steps and whatever x they reach.
    EXPECT_EQ(solve("x^2+10", "x", &root), codeNumber(ErrorCode::None));
    EXPECT_TRUE(std::isfinite(root));
}
