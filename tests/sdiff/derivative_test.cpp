// Derivatives are checked as numbers, not only as texts: every derivative of
// the table is compared with a central difference of its formula, and the
// printed derivative is derived once more and checked the same way.
#include <cmath>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "sdiff/derivative_table.h"
#include "sdiff/reference_eval.h"
#include "sdiff/sdiff.h"
#include "sdiff/sdiff_support.h"
#include "support/library_test.h"

using sdiff_test::kDerivativeNames;
using sdiff_test::kDerivativeTable;
using sdiff_test::ReferenceEval;

namespace {

class DerivativeTest : public LibraryTest {};

double valueAt(const std::string& text, const std::string& var, double at) {
    auto names = kDerivativeNames;
    names[var] = at;
    return ReferenceEval(text, names).value();
}

// The derivative text agrees with (f(x+h) - f(x-h)) / 2h.
::testing::AssertionResult matchesDifference(const std::string& f, const std::string& d,
                                             const std::string& var, double at) {
    const double h = 1e-5 * std::max(1.0, std::fabs(at));
    const double numeric = (valueAt(f, var, at + h) - valueAt(f, var, at - h)) / (2 * h);
    const double symbolic = valueAt(d, var, at);
    if (std::isfinite(symbolic) &&
        std::fabs(symbolic - numeric) <= 1e-5 * std::max(1.0, std::fabs(numeric)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "d/d" << var << " " << f << " = " << d << " at " << at
                                         << ": " << symbolic << ", difference gives " << numeric;
}

}  // namespace

TEST_F(DerivativeTest, TableTextsThroughTheExport) {
    for (const auto& c : kDerivativeTable) {
        std::u16string buffer(1000, u' ');
        const int n = ::e_diff(P(Z(c.formula)), P(Z(c.variable)),
                               reinterpret_cast<zrt_char*>(&buffer[0]), 1000);
        EXPECT_EQ(U(reinterpret_cast<const zrt_char*>(buffer.c_str())), c.derivative) << c.formula;
        EXPECT_EQ(n, static_cast<int>(std::string(c.derivative).size())) << c.formula;
        EXPECT_EQ(::GetLast_diffErr(), 0) << c.formula;
        EXPECT_EQ(::GetE_Error(), -1) << c.formula;
    }
}

// With the trace on, the derivative goes through its text and a general walk;
// without, it is built and simplified directly. Both give the same result.
TEST_F(DerivativeTest, TracingChangesNoResult) {
    std::vector<std::string> formulas;
    for (const auto& c : kDerivativeTable) formulas.push_back(c.formula);
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) formulas.push_back(sdiff_test::randomFormula(rng, 1 + i % 5));
    for (const auto& f : formulas) {
        std::string plain, traced;
        zrt::SetDiffLogF(0, "");
        const int n = zrt::eDiff(f, "x", plain);
        const int code = GetE_Error();
        zrt::SetDiffLogF(3, "");
        EXPECT_EQ(zrt::eDiff(f, "x", traced), n) << f;
        EXPECT_EQ(GetE_Error(), code) << f;
        EXPECT_EQ(traced, plain) << f;
    }
}

TEST_F(DerivativeTest, TableDerivativesAgreeWithDifferences) {
    for (const auto& c : kDerivativeTable)
        for (double at : c.points)
            EXPECT_TRUE(matchesDifference(c.formula, c.derivative, c.variable, at));
}

TEST_F(DerivativeTest, PrintedDerivativesDeriveAgain) {
    for (const auto& c : kDerivativeTable) {
        std::string second;
        const int n = zrt::eDiff(c.derivative, c.variable, second);
        // An exponent n-1 is printed for the evaluator; the differentiator's
        // own reader takes single numbers or names as exponents only.
        if (std::regex_search(c.derivative, std::regex(R"(\^\([A-Za-z]\w*-)"))) {
            EXPECT_EQ(n, 0) << c.formula;
            continue;
        }
        ASSERT_GT(n, 0) << c.derivative;
        for (double at : c.points)
            EXPECT_TRUE(matchesDifference(c.derivative, second, c.variable, at));
    }
}
