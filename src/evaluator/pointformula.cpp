#include "evaluator/pointformula.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/numtext.h"

namespace zrt {

namespace {

// Writes the trimmed ten-decimal text of x (what NumText(FixText(x)) gives)
// into buf for |x| < 1e5 and returns its length; 0 when x needs the general
// conversion.
std::size_t fastPointText(char* buf, double x) {
    std::int64_t n = 0;
    if (!tenDecimalInteger(x, n)) return 0;
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

PointFormula::PointFormula(std::string_view formula, std::string_view variable) {
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

std::string_view PointFormula::textAt(double x) {
    point_.clear();
    if (pieces_.size() > 1) appendPointText(point_, x);
    // The pieces and the point's text copied into place, without growing the
    // buffer piece by piece.
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
    return std::string_view(text_.data(), length);
}

}  // namespace zrt
