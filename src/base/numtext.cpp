#include "base/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zrt {

namespace {

struct NumTextState {
    std::string lastNumText;
};

NumTextState& numTextState() {
    static NumTextState state;
    return state;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const std::string& remember(std::string text) {
    return numTextState().lastNumText = std::move(text);
}

}  // namespace

std::string FixText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
    // The largest double has 309 integer digits.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 10);
    std::string text(buf, res.ptr);
    // A value that rounds to zero prints without a sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

double DecValue(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n' ||
                     text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t intStart = i;
    while (i < n && isDigit(text[i])) ++i;
    const std::size_t intEnd = i;
    std::size_t fracStart = i, fracEnd = i;
    if (i < n && text[i] == '.') {
        fracStart = ++i;
        while (i < n && isDigit(text[i])) ++i;
        fracEnd = i;
    }
    if (intEnd == intStart && fracEnd == fracStart) return 0;
    std::size_t expStart = i, expEnd = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && isDigit(text[j])) {
            expStart = i;
            while (j < n && isDigit(text[j])) ++j;
            expEnd = j;
        }
    }
    // Most number texts (ten-decimal texts, literals) have few digits and no
    // exponent: digits and the power of ten are then exact doubles, and one
    // division rounds exactly as the full conversion would.
    if (expEnd == expStart) {
        static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        const std::size_t fracDigits = fracEnd - fracStart;
        if (intEnd - intStart + fracDigits <= 15 && fracDigits <= 22) {
            std::uint64_t m = 0;
            for (std::size_t j = intStart; j < intEnd; ++j) m = m * 10 + static_cast<unsigned>(text[j] - '0');
            for (std::size_t j = fracStart; j < fracEnd; ++j) m = m * 10 + static_cast<unsigned>(text[j] - '0');
            const double value = static_cast<double>(m) / kPowersOfTen[fracDigits];
            return negative ? -value : value;
        }
    }
    std::string clean;
    clean.reserve(expEnd - intStart + 2);
    if (intEnd == intStart) clean += '0';
    clean.append(text.substr(intStart, intEnd - intStart));
    if (fracEnd > fracStart) {
        clean += '.';
        clean.append(text.substr(fracStart, fracEnd - fracStart));
    }
    clean.append(text.substr(expStart, expEnd - expStart));

    double value = 0;
    const auto res = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large for a double, or too close to zero: the decimal exponent of
        // the first significant digit tells which.
        long long exponent = 0;
        std::size_t j = expStart + 1;
        const bool expNegative = j < expEnd && text[j] == '-';
        if (j < expEnd && (text[j] == '+' || text[j] == '-')) ++j;
        for (; j < expEnd; ++j) exponent = std::min(exponent * 10 + (text[j] - '0'), 1LL << 40);
        if (expNegative) exponent = -exponent;
        const std::string_view intDigits = text.substr(intStart, intEnd - intStart);
        const std::size_t firstInt = intDigits.find_first_not_of('0');
        long long magnitude;
        if (firstInt != std::string_view::npos) {
            magnitude = static_cast<long long>(intDigits.size() - firstInt) - 1 + exponent;
        } else {
            const std::string_view frac = text.substr(fracStart, fracEnd - fracStart);
            const std::size_t firstFrac = frac.find_first_not_of('0');
            magnitude = firstFrac == std::string_view::npos
                            ? -1
                            : -static_cast<long long>(firstFrac) - 1 + exponent;
        }
        value = magnitude < 0 ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::int64_t HexValue(std::string_view digits) {
    std::uint64_t v = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0) break;
        v = (v << 4) | static_cast<std::uint64_t>(d);
    }
    return static_cast<std::int64_t>(v);
}

std::int64_t BinVal(std::string_view text) {
    if (text.empty() || text[0] != '!') return 0;
    std::uint64_t v = 0;
    std::size_t k = 0;
    for (std::size_t i = text.size(); i-- > 1; ++k) {
        const char c = text[i];
        if (c == '1') {
            if (k < 64) v |= std::uint64_t{1} << k;
        } else if (c != '0') {
            return 0;
        }
    }
    return static_cast<std::int64_t>(v);
}

std::string StrD0(std::string_view text) {
    const std::size_t first = text.find_first_of("0123456789.+-");
    std::string t = first == std::string_view::npos ? std::string() : std::string(text.substr(first));
    const std::size_t last = t.find_last_not_of('0');
    t.erase(last == std::string::npos ? 0 : last + 1);
    if (!t.empty() && t.back() == '.') t.pop_back();
    if (!t.empty() && t.front() == '.') t.insert(t.begin(), '0');
    if (t.empty()) t = "0";
    return remember(std::move(t));
}

std::string shortNumber(double value) { return StrD0(FixText(value)); }

std::string TrimZeros(std::string_view text, bool keepOne) {
    std::string t = FixText(DecValue(text));
    const std::size_t lead = t.find_first_not_of('0');
    t.erase(0, lead == std::string::npos ? t.size() : lead);
    const std::size_t last = t.find_last_not_of('0');
    if (last == std::string::npos) {
        t.clear();
    } else if (t[last] == '.' || t[last] == ',') {
        t.erase(keepOne ? last + 2 : last);
    } else {
        t.erase(last + 1);
    }
    if (t.empty()) t = "0";
    return remember(std::move(t));
}

const std::string& LastNumText() { return numTextState().lastNumText; }

std::string TrimStr(std::string_view text, std::string_view part, bool ignoreCase) {
    if (part.empty()) return std::string(text);
    const std::string hay = ignoreCase ? lowerAscii(text) : std::string(text);
    const std::string needle = ignoreCase ? lowerAscii(part) : std::string(part);
    std::size_t b = 0, e = hay.size();
    while (e - b >= needle.size() && hay.compare(b, needle.size(), needle) == 0) b += needle.size();
    while (e - b >= needle.size() && hay.compare(e - needle.size(), needle.size(), needle) == 0)
        e -= needle.size();
    return std::string(text.substr(b, e - b));
}

std::string StripBrackets(std::string_view text) {
    if (!text.empty() && text.front() == '[') text.remove_prefix(1);
    if (!text.empty() && text.back() == ']') text.remove_suffix(1);
    return std::string(text);
}

std::string StrRepeat(int count, std::string_view text) {
    std::string out;
    if (count <= 0) return out;
    out.reserve(static_cast<std::size_t>(count) * text.size());
    for (int i = 0; i < count; ++i) out.append(text);
    return out;
}

void resetNumText() { numTextState() = NumTextState{}; }

}  // namespace zrt
