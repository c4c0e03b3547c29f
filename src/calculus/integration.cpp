#include "calculus/integration.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "evaluator/preparedformula.h"
#include "log/trace.h"

namespace zrt {

namespace {

int refuse(ErrorCode code, const std::string& detail) {
    failReplacing(code, "Integrate", detail);
    return codeNumber(code);
}

// The integrand at every point: the formula cut at each occurrence of the
// variable's name once, the point's text put between the pieces in a buffer
// that is reused, then evaluated.
class Integrand {
public:
    Integrand(std::string_view formula, std::string_view variable)
        : evaluator_(formula, variable) {}

    const PointFormula& points() { return evaluator_.points(); }
    std::string_view textAt(double x) { return evaluator_.points().textAt(x); }

    // f(x) into *y; false (e_error set) when the point has no value.
    bool at(double x, double* y) {
        const int code = evaluator_.at(x, y);
        if (code == 0) return true;
        const std::string_view text = textAt(x);
        if (eError() == ErrorCode::None) {
            // A matrix is no value of a function of one variable.
            failReplacing(
                ErrorCode::ConditionNotFound, "Integrate",
                "The integrand is a matrix at x = " + shortNumber(x) + ": " + std::string(text));
        } else {
            logError("Integrate", "No value at x = " + shortNumber(x) + ": " + std::string(text));
        }
        return false;
    }

    // f at xs[0..n) into ys, in turn; false (e_error set) at the first point
    // without a value.
    bool at(const double* xs, double* ys, std::size_t n) {
        std::size_t k = evaluator_.preparedBlock(xs, ys, n);
        while (k < n) {
            if (!at(xs[k], ys + k)) return false;
            ++k;
            k += evaluator_.preparedBlock(xs + k, ys + k, n - k);
        }
        return true;
    }

private:
    PointEvaluator evaluator_;
};

// The integrand at `count` points in turn, point(j) the j-th one, each value
// handed to add(j, y) in that order; false at the first point without a
// value. Points go to the prepared form a block at a time.
template <typename Point, typename Add>
bool each(Integrand& f, int count, Point point, Add add) {
    constexpr int kBlock = static_cast<int>(PreparedFormula::kBlock);
    double xs[kBlock], ys[kBlock];
    for (int from = 0; from < count; from += kBlock) {
        const int m = std::min(kBlock, count - from);
        for (int j = 0; j < m; ++j) xs[j] = point(from + j);
        if (!f.at(xs, ys, static_cast<std::size_t>(m))) return false;
        for (int j = 0; j < m; ++j) add(from + j, ys[j]);
    }
    return true;
}

bool midpoint(Integrand& f, double a, double h, int n, double* integral) {
    double sum = 0;
    const auto point = [&](int j) {
        const int i = j + 1;
        const double left = a + (i - 1) * h, right = a + i * h;
        return (left + right) / 2;
    };
    if (!each(f, n, point, [&](int, double y) { sum += y; })) return false;
    *integral = h * sum;
    return true;
}

bool trapezoidal(Integrand& f, double a, double b, double h, int n, double* integral) {
    double fa = 0, fb = 0;
    if (!f.at(a, &fa) || !f.at(b, &fb)) return false;
    const double s0 = (fa + fb) / 2;
    double sum = 0;
    const auto point = [&](int j) { return a + (j + 1) * h; };
    if (!each(f, n - 1, point, [&](int, double y) { sum += y; })) return false;
    *integral = (s0 + sum) * h;
    return true;
}

bool simpson(Integrand& f, double a, double b, double h, int n, double* integral) {
    double fa = 0, fLast = 0, fb = 0, odd = 0;
    if (!f.at(a, &fa) || !f.at(a + (n - 1) * h, &fLast) || !f.at(b, &fb)) return false;
    const double s = fa + 4 * fLast + fb;
    double t = 0;
    // For i = 1 .. n/2 - 1 the odd point a + (2i - 1)h, then the even a + 2ih.
    const auto point = [&](int j) {
        const int i = j / 2 + 1;
        return j % 2 == 0 ? a + (2 * i - 1) * h : a + 2 * i * h;
    };
    const auto add = [&](int j, double y) {
        if (j % 2 == 0) {
            odd = y;
        } else {
            t += 2 * odd + y;
        }
    };
    if (!each(f, 2 * (n / 2 - 1), point, add)) return false;
    *integral = (h / 3) * (s + 2 * t);
    return true;
}

}  // namespace

int Integrate(std::string_view formula, double a, double b, int n, int method,
              std::string_view variable, double* result) {
    if (!result) {
        return refuse(ErrorCode::ValueNotDefined, kNoResultAddress);
    }
    if (method != kMidpoint && method != kTrapezoidal && method != kSimpson) {
        *result = 0;
        return refuse(ErrorCode::UnknownMethod,
                      "Method = " + std::to_string(method) +
                          ": 0 midpoint, 1 trapezoidal and 2 Simpson's rule are known");
    }
    if (n < 1 || n > kMaxSubintervals) {
        return refuse(ErrorCode::InvalidArgument,
                      "N = " + std::to_string(n) +
                          ": the number of subintervals must be from 1 to " +
                          std::to_string(kMaxSubintervals));
    }
    if (method == kSimpson && n % 2 != 0) {
        return refuse(ErrorCode::OddSimpsonSteps,
                      std::string(kSimpsonNeedsEvenN) + "\r\nN = " + std::to_string(n));
    }

    setEError(ErrorCode::None);
    const std::string name = lowerAscii(variable);
    Integrand f(formula, name);
    // Every rule evaluates at most n + 1 points.
    if (!pointTextsFit("Integrate", f.points().longestText(), f.points().occurrences(), name) ||
        !withinEvaluationBudget("Integrate", evaluationWork(std::uint64_t(n) + 1, f.textAt(a))))
        return codeNumber(ErrorCode::InvalidArgument);
    const double h = (b - a) / n;
    double integral = 0;
    bool ok = false;
    switch (method) {
        case kMidpoint:
            ok = midpoint(f, a, h, n, &integral);
            break;
        case kTrapezoidal:
            ok = trapezoidal(f, a, b, h, n, &integral);
            break;
        default:
            ok = simpson(f, a, b, h, n, &integral);
            break;
    }
    if (!ok) return codeNumber(eError());
    *result = integral;
    return 0;
}

double dIntegrate(std::string_view formula, double a, double b, int n, int method,
                  std::string_view variable) {
    double integral = 0;
    Integrate(formula, a, b, n, method, variable, &integral);
    return eError() == ErrorCode::None ? integral : 0;
}

}  // namespace zrt
