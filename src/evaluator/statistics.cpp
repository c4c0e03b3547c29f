#include "evaluator/statistics.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/matrixexpr.h"
#include "evaluator/parser.h"
#include "numerics/power.h"

namespace zrt {

namespace {

struct StatisticsState {
    // Operands of every statistics call under way, nested calls above outer
    // ones; it keeps its capacity, so a call allocates nothing once warm.
    std::vector<double> operands;
};

StatisticsState& statisticsState() {
    static StatisticsState state;
    return state;
}

// Ascending, with values that are not numbers after all others: a sort needs
// an order that holds for every pair.
bool ascending(double a, double b) {
    if (std::isnan(a)) return false;
    return std::isnan(b) || a < b;
}

double compute(Tok word, double* x, std::size_t n) {
    switch (word) {
        case Tok::Count: return static_cast<double>(n);
        case Tok::Min: {
            double m = x[0];
            for (std::size_t i = 1; i < n; ++i)
                if (x[i] < m) m = x[i];
            return m;
        }
        case Tok::Max: {
            double m = x[0];
            for (std::size_t i = 1; i < n; ++i)
                if (x[i] > m) m = x[i];
            return m;
        }
        case Tok::Median: {
            std::sort(x, x + n, ascending);
            return n % 2 ? x[n / 2] : (x[n / 2 - 1] + x[n / 2]) / 2;
        }
        default: break;
    }
    double sum = 0, sum2 = 0, prod = 1, prod2 = 1;
    for (std::size_t i = 0; i < n; ++i) {
        sum += x[i];
        sum2 += x[i] * x[i];
        prod *= x[i];
        prod2 *= x[i] * x[i];
    }
    const double count = static_cast<double>(n);
    switch (word) {
        case Tok::Avg:
        case Tok::Mean: return sum / count;
        case Tok::GeomMean: return powerOf(prod, 1 / count);
        case Tok::Sum: return sum;
        case Tok::Sum2: return sum2;
        case Tok::Stddev: return std::sqrt((sum2 - sum * sum / count) / (count - 1));
        case Tok::Prod: return prod;
        case Tok::Prod2: return prod2;
        default: return 0;
    }
}

}  // namespace

double StatFunct(Tok word) {
    std::vector<double>& operands = statisticsState().operands;
    const std::size_t first = operands.size();
    for (;;) {
        unsigned char type = kNumberType;
        const double v = e_prs(1, &type);
        if (eError() != ErrorCode::None) break;
        if (type != kNumberType) {
            failReplacing(ErrorCode::ConditionNotFound, "StatFunct",
                          "The statistics function '" + tokenText(word) +
                              "' takes numbers, not matrices\r\nnnTp = 1\r\n");
            break;
        }
        operands.push_back(v);
        if (currentToken().kind != Tok::Semicolon) break;
        e_match(Tok::Semicolon);
    }
    double result = 0;
    if (eError() == ErrorCode::None && operands.size() > first)
        result = compute(word, operands.data() + first, operands.size() - first);
    operands.resize(first);
    // A list of a million operands need not keep its memory afterwards.
    if (first == 0 && operands.capacity() > (std::size_t{1} << 16)) operands.shrink_to_fit();
    return result;
}

void resetStatistics() { statisticsState() = StatisticsState{}; }

}  // namespace zrt
