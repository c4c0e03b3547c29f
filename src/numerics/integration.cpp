#include "numerics/integration.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "evaluator/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/numtext.h"
#include "platform/platform.h"
#include "ui/trace.h"

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
    Integrand(std::string_view formula, std::string_view variable) {
        if (variable.empty()) {
            pieces_.push_back(formula);
        } else {
            std::size_t from = 0;
            for (std::size_t at = formula.find(variable); at != std::string_view::npos;
                 at = formula.find(variable, from)) {
                pieces_.push_back(formula.substr(from, at - from));
                from = at + variable.size();
            }
            pieces_.push_back(formula.substr(from));
        }
        for (std::string_view piece : pieces_) fixedLength_ += piece.size();
        point_.reserve(32);
    }

    // f(x) into *y; false (e_error set) when the point has no value.
    bool at(double x, double* y) {
        point_.clear();
        if (pieces_.size() > 1) appendPointText(point_, x);
        // The pieces and the point's text copied into place, without growing
        // the buffer piece by piece.
        const std::size_t length = fixedLength_ + point_.size() * (pieces_.size() - 1);
        if (text_.size() < length) text_.resize(length);
        char* out = text_.data();
        for (std::size_t k = 0; k < pieces_.size(); ++k) {
            if (k > 0) {
                std::memcpy(out, point_.data(), point_.size());
                out += point_.size();
            }
            std::memcpy(out, pieces_[k].data(), pieces_[k].size());
            out += pieces_[k].size();
        }
        const std::string_view text(text_.data(), length);
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
    std::vector<std::string_view> pieces_;
    std::size_t fixedLength_ = 0;
    std::string text_;
    std::string point_;
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

namespace {

// Writes the trimmed ten-decimal text of x (what NumText(FixText(x)) gives)
// into buf for |x| < 1e5 and returns its length; 0 when x needs the general
// conversion. x * 1e10 is rounded to an integer exactly as the decimal
// conversion rounds (to nearest, ties to even): the product's rounding error
// comes from an exact two-product (1e10 has 24 significant bits, so the halves
// of x multiply by it exactly).
std::size_t fastPointText(char* buf, double x) {
    if (!(std::fabs(x) < 1e5)) return 0;
    constexpr double scale = 1e10;
    const double p = x * scale;
    const double c = 134217729.0 * x;  // Dekker's split: x = hi + lo, 26 bits each
    const double hi = c - (c - x);
    const double lo = x - hi;
    const double e = (hi * scale - p) + lo * scale;  // x * 1e10 = p + e exactly
    const double f = std::floor(p);
    const double d = (p - f) - 0.5;  // exact near 0; far from 0 its sign is what counts
    double n = f;
    if (d > 0 || (d == 0 && e > 0)) {
        n = f + 1;
    } else if (d == 0 && e == 0 && std::fmod(f, 2) != 0) {
        n = f + 1;  // an exact tie goes to the even neighbour
    }
    const bool negative = n < 0;
    const std::uint64_t v = static_cast<std::uint64_t>(negative ? -n : n);
    std::uint64_t whole = v / 10000000000u, fraction = v % 10000000000u;
    char* out = buf;
    if (negative && v != 0) *out++ = '-';
    char digits[20];
    int k = 0;
    do {
        digits[k++] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    while (k > 0) *out++ = digits[--k];
    if (fraction != 0) {
        *out++ = '.';
        int places = 10;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        for (int i = places - 1; i >= 0; --i) {
            out[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        out += places;
    }
    return static_cast<std::size_t>(out - buf);
}

}  // namespace

void appendPointText(std::string& out, double x) {
    char buf[400];
    buf[0] = '(';
    std::size_t length = fastPointText(buf + 1, x);
    if (length == 0) {
        if (!std::isfinite(x)) {
            out += "(" + shortNumber(x) + ")";
            return;
        }
        char* end =
            std::to_chars(buf + 1, buf + sizeof buf - 1, x, std::chars_format::fixed, 10).ptr;
        while (end[-1] == '0') --end;  // the point stops it
        if (end[-1] == '.') --end;
        length = static_cast<std::size_t>(end - buf - 1);
    }
    buf[length + 1] = ')';
    out.append(buf, length + 2);
}

int Integrate(std::string_view formula, double a, double b, int n, int method,
              std::string_view variable, double* result) {
    if (!result) {
        refuse(5, "Input parameter error: Returned Value not defined");
        if (messageSwitch() & 1) {
            platform::messageBox("Input parameter error: Returned Value not defined",
                                 "ZeRarove: Integrate", platform::Buttons::Ok,
                                 platform::Icon::Error);
            setEError(5);
        }
        return 5;
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
        const char* text = "Simpson's Rule requires that number of subintervals N be even.";
        refuse(22, std::string(text) + "\r\nN = " + std::to_string(n));
        if (messageSwitch() != 0) {
            platform::messageBox(text, "Solver", platform::Buttons::Ok, platform::Icon::Error);
            setEError(22);
        }
        return 22;
    }

    setEError(kNoError);
    const std::string name = lowerAscii(variable);
    Integrand f(formula, name);
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
