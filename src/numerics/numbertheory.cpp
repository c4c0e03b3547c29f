#include "numerics/numbertheory.h"

#include <cmath>
#include <limits>
#include <string>

#include "base/errors.h"

namespace zrt {

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int64_t gcd64(std::int64_t a, std::int64_t b) {
    while (b != 0) {
        const std::int64_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// A result that a 32-bit integer cannot carry. The log entry names the
// source line of the report.
int notRepresentable(const char* proc, std::int32_t a, std::int32_t b, std::int64_t value) {
    setEError(ErrorCode::ValueNotDefined);
    logErrorAtLine(proc, __LINE__,
                   "a = " + std::to_string(a) + ", b = " + std::to_string(b) + ": the result " +
                       std::to_string(value) + " exceeds the 32-bit range\r\n");
    return 0;
}

}  // namespace

int IsPrime(std::int32_t value) {
    const std::int64_t a = value;
    if (a < 2) return 0;
    if (a == 2) return -1;
    if (a % 2 == 0) return 0;
    if (a < 8) return -1;
    if (a % 3 == 0 || a % 5 == 0 || a % 7 == 0) return 0;
    if (a < 38) return -1;
    // Candidates are the numbers prime to 2, 3 and 5: a wheel of 30.
    static constexpr int kWheel[] = {11, 13, 17, 19, 23, 29, 31, 37};
    const std::int64_t s = std::llround(std::sqrt(static_cast<double>(a)));
    for (std::int64_t k = 0; k <= s; k += 30)
        for (int offset : kWheel)
            if (a % (k + offset) == 0) return 0;
    return -1;
}

int lIsPrime(std::int32_t value) {
    const std::int64_t a = value;
    if (a < 2) return 0;
    if (a == 2) return -1;
    if (a % 2 == 0) return 2;
    // Odd divisors from 3 while they stay below a / (previous divisor): the
    // limit reaches the square root without computing it.
    std::int64_t limit = a;
    for (std::int64_t d = 3; d < limit; d += 2) {
        if (a % d == 0) return static_cast<int>(d);
        limit = a / d;
    }
    return -1;
}

int GCF(std::int32_t a, std::int32_t b) {
    const std::int64_t x = std::llabs(a), y = std::llabs(b);
    const std::int64_t g = gcd64(x > y ? x : y, x > y ? y : x);
    if (g > kInt32Max) return notRepresentable("GCF", a, b, g);
    return static_cast<int>(g);
}

int LCM(std::int32_t a, std::int32_t b) {
    const std::int64_t x = std::llabs(a), y = std::llabs(b);
    if (x == 0 || y == 0) return 0;
    const std::int64_t l = x / gcd64(x, y) * y;  // at most 2^62: no overflow
    if (l > kInt32Max) return notRepresentable("LCM", a, b, l);
    return static_cast<int>(l);
}

double fact(std::int32_t n) {
    // From 171 on the product is infinite; stop multiplying there.
    const std::int32_t last = n < 171 ? n : 171;
    double f = 1;
    for (std::int32_t k = 2; k <= last; ++k) f *= k;
    return f;
}

}  // namespace zrt
