#include "calculus/integration.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "evaluator/pointformula.h"
#include "log/trace.h"

namespace zrt {

namespace {

int refuse(int code, const std::string& detail) {
    setEError(code);
    logError("Integrate", 0, detail);
    return code;
}

// The integrand at every point: the formula cut at each occurrence of the
// variable's name once, the point's text put between the pieces in a buffer
// that is reused, then evaluated.
class Integrand {
public:
    Integrand(std::string_view formula, std::string_view variable) : points_(formula, variable) {}

    const PointFormula& points() const { return points_; }
    std::string_view textAt(double x) { return points_.textAt(x); }

    // f(x) into *y; false (e_error set) when the point has no value.
    bool at(double x, double* y) {
        const std::string_view text = points_.textAt(x);
        const int code = e_eval(text, y, 0);
        if (code == 0) return true;
        if (eError() == kNoError) {
            // A matrix is no value of a function of one variable.
            setEError(10);
            logError(
                "Integrate", 0,
                "The integrand is a matrix at x = " + shortNumber(x) + ": " + std::string(text));
        } else {
            logError("Integrate", 0,
                     "No value at x = " + shortNumber(x) + ": " + std::string(text));
        }
        return false;
    }

private:
    PointFormula points_;
};

bool midpoint(Integrand& f, double a, double h, int n, double* integral) {
    double sum = 0, y = 0;
    for (int i = 1; i <= n; ++i) {
        const double left = a + (i - 1) * h, right = a + i * h;
        if (!f.at((left + right) / 2, &y)) return false;
        sum += y;
    }
    *integral = h * sum;
    return true;
}

bool trapezoidal(Integrand& f, double a, double b, double h, int n, double* integral) {
    double fa = 0, fb = 0, y = 0;
    if (!f.at(a, &fa) || !f.at(b, &fb)) return false;
    const double s0 = (fa + fb) / 2;
    double sum = 0;
    for (int i = 1; i <= n - 1; ++i) {
        if (!f.at(a + i * h, &y)) return false;
        sum += y;
    }
    *integral = (s0 + sum) * h;
    return true;
}

bool simpson(Integrand& f, double a, double b, double h, int n, double* integral) {
    double fa = 0, fLast = 0, fb = 0, odd = 0, even = 0;
    if (!f.at(a, &fa) || !f.at(a + (n - 1) * h, &fLast) || !f.at(b, &fb)) return false;
    const double s = fa + 4 * fLast + fb;
    double t = 0;
    for (int i = 1; i <= n / 2 - 1; ++i) {
        if (!f.at(a + (2 * i - 1) * h, &odd) || !f.at(a + 2 * i * h, &even)) return false;
        t += 2 * odd + even;
    }
    *integral = (h / 3) * (s + 2 * t);
    return true;
}

}  // namespace

int Integrate(std::string_view formula, double a, double b, int n, int method,
              std::string_view variable, double* result) {
    if (!result) {
        return refuse(5, kNoResultAddress);
    }
    if (method != kMidpoint && method != kTrapezoidal && method != kSimpson) {
        *result = 0;
        return refuse(19, "Method = " + std::to_string(method) +
                              ": 0 midpoint, 1 trapezoidal and 2 Simpson's rule are known");
    }
    if (n < 1 || n > kMaxSubintervals) {
        return refuse(13, "N = " + std::to_string(n) +
                              ": the number of subintervals must be from 1 to " +
                              std::to_string(kMaxSubintervals));
    }
    if (method == kSimpson && n % 2 != 0) {
        return refuse(22, std::string(kSimpsonNeedsEvenN) + "\r\nN = " + std::to_string(n));
    }

    setEError(kNoError);
    const std::string name = lowerAscii(variable);
    Integrand f(formula, name);
    // Every rule evaluates at most n + 1 points.
    if (!pointTextsFit("Integrate", f.points().longestText(), f.points().occurrences(), name) ||
        !withinEvaluationBudget("Integrate", evaluationWork(std::uint64_t(n) + 1, f.textAt(a))))
        return 13;
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
    if (!ok) return eError();
    *result = integral;
    return 0;
}

double dIntegrate(std::string_view formula, double a, double b, int n, int method,
                  std::string_view variable) {
    double integral = 0;
    Integrate(formula, a, b, n, method, variable, &integral);
    return eError() == kNoError ? integral : 0;
}

}  // namespace zrt
