// The text a point enters a formula with, and the formula around it.
#include "evaluator/pointformula.h"

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "base/numtext.h"
#include "support/library_test.h"

using namespace zrt;

class PointFormulaTest : public LibraryTest {};

TEST_F(PointFormulaTest, PointTextIsTheTrimmedTenDecimalText) {
    std::vector<double> values = {
        0, -0.0, 1, -1, 0.5, 1e-11, -1e-11, 0.00000000005, 1.0 / 3, 2e15, -123.4567, 1e300, 1e-300,
        2.5e-10, 0.1 + 0.2, 99999.99999999999, -99999.99999999999, 1e5, 3.0 / 1000000,
        // exact ties at the eleventh decimal go to the even neighbour
        0.00048828125, -0.00048828125, 0.00146484375, 3 * 0.00048828125, 1.00048828125,
        // just beside a tie
        std::nextafter(0.00048828125, 1.0), std::nextafter(0.00048828125, 0.0),
        std::nextafter(-0.00146484375, -1.0)};
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-40, 20);
    for (int i = 0; i < 200000; ++i) values.push_back(std::ldexp(unit(rng), exponent(rng)));
    for (int i = 0; i < 20000; ++i) values.push_back((i - 10000) * (3.0 / 1000000) + 0.5);
    for (double v : values) {
        std::string text;
        appendPointText(text, v);
        ASSERT_EQ(text, "(" + shortNumber(v) + ")") << v;
    }
    std::string ties;
    appendPointText(ties, 0.00048828125);
    appendPointText(ties, -0.00146484375);
    EXPECT_EQ(ties, "(0.0004882812)(-0.0014648438)");
}

TEST_F(PointFormulaTest, EveryOccurrenceIsReplaced) {
    PointFormula f("x^2+max(x;1)", "x");
    EXPECT_EQ(f.textAt(0.5), "(0.5)^2+ma(0.5)((0.5);1)");
    EXPECT_EQ(f.textAt(-2), "(-2)^2+ma(-2)((-2);1)");
    PointFormula none("2+3", "");
    EXPECT_EQ(none.textAt(1), "2+3");
}

TEST_F(PointFormulaTest, PointTextIsNeverLongerThanItsBound) {
    // The longest texts: the largest doubles, and values with 16 integer
    // digits and ten decimals.
    const double values[] = {1.7976931348623157e308, -1.7976931348623157e308, -9007199254740991.5,
                             -999999999999999.1234567891, 4.9e-324, -1e300 / 3,
                             std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::infinity()};
    for (double v : values) {
        std::string text;
        appendPointText(text, v);
        EXPECT_LE(text.size(), kMaxPointText) << text;
    }
}
