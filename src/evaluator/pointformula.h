// A formula of one variable at many points (tabulation, integration): the
// formula is cut once at every occurrence of the variable's name (a plain,
// case-sensitive search over the whole text), and each point's text goes
// between the pieces in a buffer that is reused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/limits.h"

namespace zrt {

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
