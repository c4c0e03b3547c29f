#include "numerics/polynomials.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "base/numtext.h"
#include "numerics/power.h"
#include "numerics/matrix.h"

namespace zrt {

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0, at;
    while ((at = text.find(from, start)) != std::string::npos) {
        out.append(text, start, at - start);
        out.append(to.data(), to.size());
        start = at + from.size();
    }
    out.append(text, start, std::string::npos);
    text.swap(out);
}

// The leading whole number of a text: an optional sign and digits, decimals
// cut off; 0 when there are no digits. Values beyond 64 bits saturate.
std::int64_t wholeNumber(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint64_t v = 0;
    constexpr std::uint64_t limit = std::uint64_t{1} << 63;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const std::uint64_t digit = static_cast<std::uint64_t>(text[i] - '0');
        v = v > (limit - digit) / 10 ? limit : v * 10 + digit;
    }
    if (negative)
        return v >= limit ? std::numeric_limits<std::int64_t>::min()
                          : -static_cast<std::int64_t>(v);
    return v >= limit ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(v);
}

// Whole-number product without overflow: it saturates.
std::int64_t saturatedProduct(std::int64_t a, std::int64_t b) {
    std::int64_t p;
    if (!__builtin_mul_overflow(a, b, &p)) return p;
    return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                              : std::numeric_limits<std::int64_t>::max();
}

// Whether the leading number of a coefficient has a decimal point ("2.5", "-.5").
bool hasDecimalPoint(std::string_view coefficient) {
    std::size_t i = !coefficient.empty() && (coefficient[0] == '+' || coefficient[0] == '-') ? 1 : 0;
    while (i < coefficient.size() && coefficient[i] >= '0' && coefficient[i] <= '9') ++i;
    return i < coefficient.size() && coefficient[i] == '.';
}

// coefficient x exponent as text: whole numbers in 64-bit arithmetic, a
// coefficient with decimals keeps them (2.5 x 2 gives 5, 2.7 x 3 gives 8.1).
std::string coefficientTimes(const std::string& coefficient, std::int64_t exponent) {
    if (hasDecimalPoint(coefficient))
        return shortNumber(DecValue(coefficient) * static_cast<double>(exponent));
    return std::to_string(saturatedProduct(wholeNumber(coefficient), exponent));
}

// The derivative of one term ("3x^4" -> "12*x^3"); empty for a term without
// the variable.
std::string termDerivative(std::string_view term, std::string_view variable) {
    const std::size_t at = term.find(variable);
    if (at == std::string_view::npos) return {};
    std::string coefficient(term.substr(0, at));
    if (coefficient.empty()) coefficient = "1";
    if (coefficient == "-") coefficient = "-1";
    const std::string_view after = term.substr(at + variable.size());
    const std::int64_t exponent =
        !after.empty() && after[0] == '^' ? wholeNumber(after.substr(1)) : 1;
    std::string result;
    if (exponent == 1) {
        result = coefficient;
    } else {
        const std::int64_t lowered =
            exponent == std::numeric_limits<std::int64_t>::min() ? exponent : exponent - 1;
        result = coefficientTimes(coefficient, exponent) + "*" + std::string(variable);
        if (lowered != 1) result += "^" + std::to_string(lowered);
    }
    if (!result.empty() && result.back() == '*') result.pop_back();
    return result;
}

}  // namespace

std::string Poly_dydx(std::string_view polynomial, std::string_view variableIn) {
    std::string text;
    text.reserve(polynomial.size() * 2 + 1);
    for (char c : lowerAscii(polynomial))
        if (c != ' ') text += c;
    std::string variable;
    for (char c : lowerAscii(variableIn))
        if (c != ' ') variable += c;

    // Every term is separated by "+"; the minus of a negative exponent stays.
    replaceAll(text, "^-", "#negex#");
    replaceAll(text, "-", "+-");
    replaceAll(text, "#negex#", "^-");
    if (text.empty() || text.back() != '+') text += '+';

    std::string joined;
    std::size_t start = 0, plus;
    while ((plus = text.find('+', start)) != std::string::npos) {
        joined += '+';
        // Without a variable name every term would "contain" it.
        if (!variable.empty())
            joined += termDerivative(std::string_view(text).substr(start, plus - start), variable);
        start = plus + 1;
    }
    std::string result = joined.substr(1);

    replaceAll(result, "^-", "#negex#");
    replaceAll(result, "+-", "-");
    replaceAll(result, "-", " - ");
    replaceAll(result, "#negex#", "^-");
    replaceAll(result, "+", " + ");
    return result;
}

double polynomialValue(double x, const double* c, int n) {
    double y = 0;
    for (int i = n - 1; i >= 0; --i) y = y * x + c[i];
    return y;
}

MatrixStatus aGetXsOfQuadr(double y, const double* c, int n, double* x1, double* x2) {
    *x1 = 0;
    *x2 = 0;
    switch (n) {
        case 1:
            *x1 = y;
            return kStatusUnchanged;
        case 2:
            // A constant line meets y nowhere, or everywhere: no single root.
            if (c[1] == 0) return MatrixStatus::NoSolution;
            *x1 = (y - c[0]) / c[1];
            return kStatusUnchanged;
        case 3: {
            const double d = c[1] * c[1] - 4 * c[2] * (c[0] - y);
            if (d < 0 || c[2] == 0 || std::isnan(d)) return MatrixStatus::NoSolution;
            const double root = std::sqrt(d);
            *x1 = (-c[1] + root) / (2 * c[2]);
            *x2 = (-c[1] - root) / (2 * c[2]);
            return MatrixStatus::Ok;
        }
        default:
            return kStatusUnchanged;
    }
}

MatrixStatus aCalcVectCoeff(const double* x, int r, int c, const double* y, double* a) {
    if (const MatrixStatus s = checkMatrix(x, r, c); s != MatrixStatus::Ok) return s;
    if (const MatrixStatus s = checkMatrix(y, r, 1); s != MatrixStatus::Ok) return s;
    if (const MatrixStatus s = checkMatrix(a, c, 1); s != MatrixStatus::Ok) return s;
    // X^T X is c x c: it must be a matrix the library can hold.
    if (std::int64_t{c} * c > kMaxMatrixElements) return MatrixStatus::OrdersNotValid;
    const std::size_t rows = static_cast<std::size_t>(r), cols = static_cast<std::size_t>(c);
    std::vector<double> xt(rows * cols), xtx(cols * cols), xty(cols), result(cols);
    aTraspEx(x, r, c, xt.data());
    if (const MatrixStatus s = aMultEx(xt.data(), c, r, x, r, c, xtx.data()); s != MatrixStatus::Ok)
        return s;
    const MatrixStatus status = aInv(xtx.data(), c);
    if (status != MatrixStatus::Ok) return status;
    aMultVect(xt.data(), c, r, y, xty.data());
    aMultVect(xtx.data(), c, c, xty.data(), result.data());
    std::copy(result.begin(), result.end(), a);
    return MatrixStatus::Ok;
}

MatrixStatus aCalcCoeffPolin(const double* p, int m, int k, double* a) {
    if (k < 1 || k > m) return MatrixStatus::RankTooHigh;
    if (const MatrixStatus s = checkMatrix(p, m, 2); s != MatrixStatus::Ok) return s;
    if (std::int64_t{m} * k > kMaxMatrixElements) return MatrixStatus::OrdersNotValid;
    const std::size_t rows = static_cast<std::size_t>(m), cols = static_cast<std::size_t>(k);
    std::vector<double> v(rows * cols), y(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        for (std::size_t j = 0; j < cols; ++j)
            v[i * cols + j] = powerOf(p[i * 2], static_cast<double>(j));
        y[i] = p[i * 2 + 1];
    }
    return aCalcVectCoeff(v.data(), m, k, y.data(), a);
}

double InterpLin(double x, double x0, double x1, double y0, double y1) {
    return y0 + (x - x0) / (x1 - x0) * (y1 - y0);
}

}  // namespace zrt
