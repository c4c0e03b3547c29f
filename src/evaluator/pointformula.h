// A formula of one variable at many points (tabulation, integration): the
// formula is cut once at every occurrence of the variable's name (a plain,
// case-sensitive search over the whole text), and each point's text goes
// between the pieces in a buffer that is reused.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/limits.h"

namespace zrt {

static_assert(FLT_EVAL_METHOD == 0,
              "the point rounding needs double arithmetic without excess precision");

// p rounded to the nearest integer, ties to even, for |p| < 2^51: adding and
// taking away 1.5 * 2^52 does it in double arithmetic without excess
// precision (the 32-bit builds compute in SSE2). Zero comes out as +0.
inline double nearestInteger(double p) {
    constexpr double shifter = 6755399441055744.0;
    return (p + shifter) - shifter;
}

// x * 10^10 rounded to the nearest integer (ties to even) exactly, as the
// ten-decimal text rounds, for |x| < 1e5 (an integral double); false beyond.
// Inline: tables and integrals take it at every point.
inline bool tenDecimalRounding(double x, double& n) {
    if (!(std::fabs(x) < 1e5)) return false;
    constexpr double scale = 1e10;
    const double p = x * scale;
    double r = nearestInteger(p);
    const double d = p - r;  // exact
    if (d == 0.5 || d == -0.5) {
        // p lies halfway: the rounding error of p decides, x * 10^10 = p + e
        // exactly (Dekker's split of x into two halves of 26 bits).
        const double c = 134217729.0 * x;
        const double hi = c - (c - x);
        const double lo = x - hi;
        const double e = (hi * scale - p) + lo * scale;
        if (d > 0 && e > 0) {
            r += 1;
        } else if (d < 0 && e < 0) {
            r -= 1;
        }
    }
    n = r;
    return true;
}

// The same as a 64-bit integer.
inline bool tenDecimalInteger(double x, std::int64_t& out) {
    double n = 0;
    if (!tenDecimalRounding(x, n)) return false;
    out = static_cast<std::int64_t>(n);
    return true;
}

// "(" + the trimmed ten-decimal text of x + ")" (what "(" + NumText(FixText(x))
// + ")" gives), appended: how a point enters a formula.
void appendPointText(std::string& out, double x);

class PointFormula {
public:
    // The formula must outlive the object.
    PointFormula(std::string_view formula, std::string_view variable);

    // The formula with the point's text in place of every occurrence of the
    // variable; valid until the next call.
    std::string_view textAt(double x);

    // The most characters textAt can give, whatever the point.
    std::uint64_t longestText() const {
        return fixedLength_ + std::uint64_t{kMaxPointText} * (pieces_.size() - 1);
    }
    // How often the variable occurs.
    std::size_t occurrences() const { return pieces_.size() - 1; }

private:
    std::vector<std::string_view> pieces_;
    std::size_t fixedLength_ = 0;
    std::string point_;
    std::string text_;
};

}  // namespace zrt
