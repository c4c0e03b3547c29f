// Every derivative the differentiator prints is a formula the library's own
// evaluator computes, and its value agrees with a difference quotient of the
// formula computed by that same evaluator. A derivative that reads well but has
// the wrong value fails here.
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "base/numtext.h"
#include "sdiff/derivative_table.h"
#include "sdiff/sdiff_support.h"
#include "support/library_test.h"

using sdiff_test::kDerivativeNames;
using sdiff_test::kDerivativeTable;

namespace {

class CrossCheckTest : public LibraryTest {
   protected:
    // The other names of the table as variables of the library. Names differ
    // only in case for the differentiator; the evaluator reads X as x, so
    // the upper-case one stays out, and e stays the evaluator's constant.
    void storeNames(const std::string& variable) {
        for (const auto& [name, value] : kDerivativeNames) {
            if (name == variable || name == "e" || zrt::lowerAscii(name) != name) continue;
            ::SetVarFunct(P(Z(name)), P(Z(zrt::FixText(value))), 0);
        }
    }

    // The formula at `at` through e_eval with the variable stored, as the
    // solvers and scripts evaluate; NaN when the evaluator refuses it.
    double at(const std::string& text, const std::string& variable, double x) {
        ::SetVarFunct(P(Z(variable)), P(Z(zrt::FixText(x))), 0);
        double v = NAN;
        return ::e_eval(P(Z(text)), &v, 0) == 0 ? v : NAN;
    }

    // e_diff as a caller uses it: 1000 blanks first, once more when longer.
    std::string derive(const std::string& formula, const std::string& variable) {
        std::u16string buffer(1000, u' ');
        int n = ::e_diff(P(Z(formula)), P(Z(variable)), reinterpret_cast<zrt_char*>(&buffer[0]), 0);
        if (n > 1000) {
            buffer.assign(static_cast<std::size_t>(n), u' ');
            n = ::e_diff(P(Z(formula)), P(Z(variable)), reinterpret_cast<zrt_char*>(&buffer[0]), 0);
        }
        return n > 0 ? U(reinterpret_cast<const zrt_char*>(buffer.c_str())) : std::string();
    }

    // The difference quotient of f at x, and how far it can be trusted.
    //
    // The evaluator rounds the argument and the result of every built-in
    // function to single precision (relative 6e-8), so each value of f carries
    // an error of some 1e-7 (|f| + |x f'|), which a difference over 2h magnifies
    // by 1/2h; the central difference itself is off by h^2/6 f''', which is
    // large close to a pole (tan(x^2) at 1.3 lies 0.12 from one) or to the 0 of
    // a logarithm. No single step serves every row, so it is chosen per point:
    // extrapolating the central differences of h and h/2 as (4 D(h/2) - D(h))/3
    // removes the h^2 term; for the steps 1/32 down to 1/512 the error is
    // estimated as the change from the step twice as large (truncation) plus
    // 3 `rounding` (|f| + |x f'|) / h (the rounding above, through the weights
    // of the extrapolation), and the step with the smallest estimate wins. The
    // steps and the points have few binary digits, so x +- h reach the
    // evaluator exactly through their ten-decimal text.
    struct Difference {
        double value;
        double error;  // estimated; large where f is not smooth around x
    };
    Difference difference(const std::string& f, const std::string& v, double x, double rounding) {
        auto central = [&](double h) { return (at(f, v, x + h) - at(f, v, x - h)) / (2 * h); };
        auto extrapolated = [&](double h) { return (4 * central(h / 2) - central(h)) / 3; };
        const double size = std::fabs(at(f, v, x));
        Difference best{NAN, INFINITY};
        double previous = extrapolated(1.0 / 16);
        for (double h = 1.0 / 32; h >= 1.0 / 512; h /= 2) {
            const double next = extrapolated(h);
            const double error =
                std::fabs(next - previous) + 3 * rounding * (size + std::fabs(x * next)) / h;
            if (error < best.error) best = {next, error};
            previous = next;
        }
        return best;
    }

    static constexpr double kSingleRounding = 1.2e-7;  // two units in the last place

    // Whether the estimate is good enough to judge a derivative with this
    // tolerance: its error at most half of it.
    static bool judgeable(const Difference& d, double tolerance) {
        return std::isfinite(d.value) &&
               d.error <= tolerance / 2 * std::max(1.0, std::fabs(d.value));
    }

    // |symbolic - numeric| within `tolerance` of the derivative's size (at
    // least 1, so that derivatives near 0 are judged on the scale of 1).
    static bool agrees(double symbolic, double numeric, double tolerance) {
        return std::isfinite(symbolic) &&
               std::fabs(symbolic - numeric) <= tolerance * std::max(1.0, std::fabs(numeric));
    }
};

}  // namespace

TEST_F(CrossCheckTest, TableDerivativesAgreeWithDifferencesOfTheEvaluator) {
    // Rows the evaluator cannot read at all, derivative or not: the one-letter
    // step function "h", and number literals with an exponent (1e5 is the
    // number 1 followed by the unknown name e5 there).
    // arcsin(1) is outside the evaluator's single-precision domain.
    const std::vector<std::string> outsideTheEvaluator = {"h(x-1)+x", "2.5e1*x^2", "x*arcsin(1)"};
    int checked = 0;
    // With the differentiator's trace on the derivative goes through its text,
    // without it is built directly: both are checked.
    for (const zrt_byte traceMode : {zrt_byte{0}, zrt_byte{3}}) {
        for (const auto& c : kDerivativeTable) {
            ::SetDiffLogF(traceMode, nullptr);
            const std::string derivative = derive(c.formula, c.variable);
            ::SetDiffLogF(0, nullptr);
            ASSERT_EQ(derivative, c.derivative) << c.formula;
            storeNames(c.variable);
            const bool outside = std::find(outsideTheEvaluator.begin(), outsideTheEvaluator.end(),
                                           c.formula) != outsideTheEvaluator.end();
            if (outside) {
                EXPECT_TRUE(std::isnan(at(c.formula, c.variable, c.points[0]))) << c.formula;
                continue;
            }
            for (double x : c.points) {
                const double symbolic = at(derivative, c.variable, x);
                ASSERT_TRUE(std::isfinite(symbolic))
                    << "the evaluator refuses d/d" << c.variable << " " << c.formula << " = "
                    << derivative << ": error " << ::GetE_Error();
                const Difference d = difference(c.formula, c.variable, x, kSingleRounding);
                EXPECT_TRUE(agrees(symbolic, d.value, 1e-4))
                    << "d/d" << c.variable << " " << c.formula << " = " << derivative << " at " << x
                    << ": " << symbolic << ", the difference gives " << d.value;
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 2 * 3 * 65);
}

// Formulas of every shape, derived and checked wherever formula and
// derivative are defined and the formula is smooth around the point. Random
// compositions (cubes of quotients of hyperbolic functions, say) magnify the
// single-precision rounding of the evaluator well beyond what the table's
// 1e-4 can resolve, so these are held to 1e-3 and only where the difference
// is good to half of that; a wrong rule is off by far more.
TEST_F(CrossCheckTest, RandomFormulasAgreeWhereverTheyAreSmooth) {
    constexpr double kTolerance = 1e-3;
    std::mt19937 rng(2024);
    storeNames("x");
    const double points[] = {-1.375, -0.625, 0.3125, 0.875, 1.625, 2.25};
    int checked = 0;
    for (int i = 0; i < 600; ++i) {
        const std::string f = sdiff_test::randomFormula(rng, 1 + i % 4);
        const std::string derivative = derive(f, "x");
        if (derivative.empty()) continue;  // x/0 and the like: no derivative
        for (double x : points) {
            const double value = at(f, "x", x);
            if (!std::isfinite(value) || std::fabs(value) > 1e6) continue;
            const double symbolic = at(derivative, "x", x);
            if (!std::isfinite(symbolic) || std::fabs(symbolic) > 1e6) continue;
            const Difference d = difference(f, "x", x, 5 * kSingleRounding);
            if (!judgeable(d, kTolerance)) continue;
            EXPECT_TRUE(agrees(symbolic, d.value, kTolerance))
                << "d/dx " << f << " = " << derivative << " at " << x << ": " << symbolic
                << ", the difference gives " << d.value;
            ++checked;
        }
    }
    EXPECT_GT(checked, 500);
}
