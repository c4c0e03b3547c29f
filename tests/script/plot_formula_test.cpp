// A Plot line's formula at a point: the text the evaluator gets is the formula
// with the point in brackets at every whole-word occurrence of the variable.
#include <string>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "script/commands_plot.h"
#include "support/library_test.h"

class PlotFormulaTest : public LibraryTest {};

TEST_F(PlotFormulaTest, PointReplacesTheVariableAsAWholeWord) {
    struct Case {
        const char* formula;
        const char* variable;
        double x;
        const char* sameAs;  // the text the point must give, or nullptr: no value
    } cases[] = {
        {"sin(x)*x^2", "x", -1.25, "sin((-1.25))*(-1.25)^2"},
        {"x", "x", 0.1, "(0.1)"},
        {"2+3", "x", 7, "2+3"},
        // Without case: X is the variable too; the x of exp is not.
        {"exp(X)+x*2", "x", 2.5, "exp((2.5))+(2.5)*2"},
        {"t*tt", "t", 3, nullptr},  // tt is another name, not defined
        {"x_1+x", "x", 1, nullptr},
        // Ten decimals, as every point text.
        {"x*3", "x", 1.0 / 3, "(0.3333333333)*3"},
        {"x+x+x", "x", 1e-11, "(0)+(0)+(0)"},
    };
    for (const Case& c : cases) {
        double y = -99;
        const bool ok = zrt::plotFormula(c.formula, c.variable)(c.x, y);
        if (!c.sameAs) {
            EXPECT_FALSE(ok) << c.formula;
            continue;
        }
        double want = 0;
        ASSERT_EQ(zrt::e_eval(c.sameAs, &want, 0), 0) << c.sameAs;
        EXPECT_TRUE(ok) << c.formula;
        EXPECT_EQ(y, want) << c.formula;
    }
}

TEST_F(PlotFormulaTest, OneFormulaAtManyPoints) {
    // The buffer of one formula is reused: every point gets its own text.
    auto f = zrt::plotFormula("x^2-x", "x");
    for (double x : {3.0, -0.5, 12.25, 0.0}) {
        double y = 0;
        ASSERT_TRUE(f(x, y));
        EXPECT_EQ(y, x * x - x) << x;
    }
}
