// Integrals through the export and the internal function: the three rules,
// the status table and the substitution of the point into the formula.
#include "calculus/integration.h"

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/numtext.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "platform/headless/headless.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

class IntegrationTest : public LibraryTest {};

TEST_F(IntegrationTest, TheThreeRules) {
    const double pi = 3.141592653589793;
    const struct {
        const char* formula;
        double a, b;
        int n, method;
        const char* variable;
        double want, tolerance;
    } cases[] = {
        {"x^2", 0, 3, 6, kSimpson, "x", 9, 0},
        {"x^2", 0, 3, 6, kMidpoint, "x", 8.9375, 1e-12},
        {"x^2", 0, 3, 6, kTrapezoidal, "x", 9.125, 1e-12},
        // one subinterval: the trapezoid of the two end points
        {"x^2", 0, 3, 1, kTrapezoidal, "x", 13.5, 0},
        {"x^2", 0, 3, 1, kMidpoint, "x", 6.75, 0},
        {"x^3", 0, 2, 2, kSimpson, "x", 4, 0},
        // the point enters as ten-decimal text: sin's argument is rounded
        {"sin(t)", 0, pi, 100, kSimpson, "t", 2.0000000108245044, 1e-7},
        {"2*t+1", 1, 3, 4, kTrapezoidal, "T", 10, 1e-12},  // the name is lower-cased
        {"5", -1, 1, 3, kMidpoint, "x", 10, 0},            // no variable in the formula
        {"x", 2, 0, 4, kSimpson, "x", -2, 0},              // b below a
        {"(x+1)*(x+1)", -1, 1, 10, kSimpson, "x", 8.0 / 3, 1e-12},
    };
    for (const auto& c : cases) {
        double result = -7;
        EXPECT_EQ(Integrate(c.formula, c.a, c.b, c.n, c.method, c.variable, &result), 0)
            << c.formula;
        EXPECT_EQ(eError(), ErrorCode::None) << c.formula;
        EXPECT_NEAR(result, c.want, c.tolerance) << c.formula << " method " << c.method;
        EXPECT_EQ(dIntegrate(c.formula, c.a, c.b, c.n, c.method, c.variable), result) << c.formula;
    }
}

TEST_F(IntegrationTest, StatusTable) {
    const struct {
        const char* formula;
        int n, method;
        int status;
        bool written;  // the result address receives 0
        const char* logged;
    } cases[] = {
        {"x^2", 3, kSimpson, 22, false,
         "Simpson's Rule requires that number of subintervals N be even."},
        {"x^2", 6, 3, 19, true, "Method = 3"},
        {"x^2", 6, -1, 19, true, "Method = -1"},
        {"x^2", 0, kSimpson, 13, false,
         "N = 0: the number of subintervals must be from 1 to 10000000"},
        {"x^2", -4, kMidpoint, 13, false, "N = -4"},
        {"x^2", 1000000000, kTrapezoidal, 13, false, "N = 1000000000"},
        // a point without a value ends the integral with its code
        {"sqrt(x-2)", 4, kTrapezoidal, 13, false, "No value at x = 0"},
        {"sqrt(x-2)", 4, kMidpoint, 13, false, "No value at x = 0.375"},
        {"1/(x-1.5)", 2, kSimpson, 8, false, "No value at x = 1.5"},
        {"exp(x)", 2, kSimpson, 2, false, "e(0)p((0))"},  // the name inside exp is replaced too
        {"[mA]*x", 2, kSimpson, 10, false, "The integrand is a matrix"},
        {"", 2, kMidpoint, 3, false, "No value"},
        // the lower-cased name is searched case for case: X stays a name
        {"X^2", 2, kMidpoint, 4, false, "No value at x = 0.75: X^2"},
    };
    zrt::SetStrMatrix("[mA];1;1;2", false);
    for (const auto& c : cases) {
        LogError("", 0, "", kLogClear);
        double result = -7;
        EXPECT_EQ(Integrate(c.formula, 0, 3, c.n, c.method, "x", &result), c.status) << c.formula;
        EXPECT_EQ(codeNumber(eError()), c.status) << c.formula;
        EXPECT_EQ(result, c.written ? 0 : -7) << c.formula;
        EXPECT_NE(errorLog().find(c.logged), std::string::npos) << c.formula << "\n" << errorLog();
        EXPECT_EQ(dIntegrate(c.formula, 0, 3, c.n, c.method, "x"), 0) << c.formula;
    }
    EXPECT_EQ(Integrate("x", 0, 1, 2, kSimpson, "x", nullptr), 5);
    EXPECT_EQ(eError(), ErrorCode::ValueNotDefined);
    EXPECT_TRUE(headless::shownMessages().empty());
}

// The exports show the boxes; the library's own function shows none.
TEST_F(IntegrationTest, MessagesFollowTheSwitch) {
    zrt::ShowMsgs(1);
    double r = 0;
    EXPECT_EQ(Integrate("x", 0, 1, 2, kSimpson, "x", nullptr), 5);
    EXPECT_EQ(Integrate("x", 0, 1, 3, kSimpson, "x", &r), 22);
    EXPECT_TRUE(headless::shownMessages().empty());

    const std::u16string x = Z("x");
    EXPECT_EQ(::Integrate(P(x), 0, 1, 2, kSimpson, P(x), nullptr), 5);
    EXPECT_EQ(::Integrate(P(x), 0, 1, 3, kSimpson, P(x), &r), 22);
    EXPECT_EQ(::dIntegrate(P(x), 0, 1, 3, kSimpson, P(x)), 0);
    EXPECT_EQ(::Integrate(P(x), 0, 1, 3, kTrapezoidal, P(x), &r), 0);
    const auto& shown = headless::shownMessages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].title, "ZeRarove: Integrate");
    EXPECT_EQ(shown[0].text, "Input parameter error: Returned Value not defined");
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(shown[i].title, "Solver");
        EXPECT_EQ(shown[i].text, "Simpson's Rule requires that number of subintervals N be even.");
    }
    EXPECT_EQ(::Integrate(P(x), 0, 1, 3, kSimpson, P(x), &r), 22);
    EXPECT_EQ(eError(), ErrorCode::OddSimpsonSteps);
}

TEST_F(IntegrationTest, VariablesAndMatricesOfTheStoreStay) {
    SetVarFunct("x", "7", ListKind::Vars);
    double r = 0;
    Integrate("x", 0, 1, 2, kSimpson, "x", &r);
    EXPECT_EQ(r, 0.5);
    EXPECT_EQ(findVarEntry(ListKind::Vars, "x")->value, "7");
}
