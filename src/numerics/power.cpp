#include "numerics/power.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace zrt {

namespace {

// Double-double numbers: hi + lo with |lo| <= half an ulp of hi. Every step
// below is a plain IEEE addition, multiplication, division or square root,
// which round the same way on every platform (no fused multiply-add).
struct DD {
    double hi, lo;
};

DD twoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

DD quickTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

void split(double a, double& hi, double& lo) {
    const double t = 134217729.0 * a;  // 2^27 + 1
    hi = t - (t - a);
    lo = a - hi;
}

DD twoProd(double a, double b) {
    const double p = a * b;
    double ah, al, bh, bl;
    split(a, ah, al);
    split(b, bh, bl);
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

DD add(DD a, DD b) {
    DD s = twoSum(a.hi, b.hi);
    const DD t = twoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = quickTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return quickTwoSum(s.hi, s.lo);
}

DD neg(DD a) { return {-a.hi, -a.lo}; }

DD mul(DD a, DD b) {
    DD p = twoProd(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return quickTwoSum(p.hi, p.lo);
}

DD mul(DD a, double b) {
    DD p = twoProd(a.hi, b);
    p.lo += a.lo * b;
    return quickTwoSum(p.hi, p.lo);
}

DD div(DD a, DD b) {
    const double q1 = a.hi / b.hi;
    DD r = add(a, neg(mul(b, q1)));
    const double q2 = r.hi / b.hi;
    r = add(r, neg(mul(b, q2)));
    const double q3 = r.hi / b.hi;
    return add(quickTwoSum(q1, q2), DD{q3, 0});
}

DD sqrtDD(double x) {
    const double s = std::sqrt(x);
    const DD sq = twoProd(s, s);
    const double r = (x - sq.hi) - sq.lo;
    return quickTwoSum(s, r / (2 * s));
}

constexpr DD kLn2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
constexpr int kLogTerms = 16;  // atanh series: s^2 <= 0.0295, 17 terms reach 2^-86
constexpr int kLogHead = 6;    // terms computed in double-double; the rest in double
constexpr int kExpTerms = 20;  // |r| <= 0.347: r^21 / 21! is below 2^-97
constexpr int kExpHead = 7;

struct Tables {
    DD invOdd[kLogTerms + 1];  // 1 / (2j + 1)
    DD invFact[kExpTerms + 1];  // 1 / n!
    Tables() {
        for (int j = 0; j <= kLogTerms; ++j) invOdd[j] = div(DD{1, 0}, DD{2.0 * j + 1, 0});
        invFact[0] = {1, 0};
        for (int n = 1; n <= kExpTerms; ++n) invFact[n] = div(invFact[n - 1], DD{double(n), 0});
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

// x = m * 2^e with m in [0.5, 1), from the bits (subnormals included).
double decompose(double x, int& e) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    int biased = static_cast<int>((bits >> 52) & 0x7FF);
    int extra = 0;
    if (biased == 0) {
        x *= 0x1p54;
        std::memcpy(&bits, &x, sizeof bits);
        biased = static_cast<int>((bits >> 52) & 0x7FF);
        extra = 54;
    }
    e = biased - 1022 - extra;
    bits = (bits & ~(std::uint64_t{0x7FF} << 52)) | (std::uint64_t{1022} << 52);
    double m;
    std::memcpy(&m, &bits, sizeof m);
    return m;
}

// 2^k as a double, for -1022 <= k <= 1023.
double twoTo(int k) {
    const std::uint64_t bits = static_cast<std::uint64_t>(k + 1023) << 52;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// v * 2^k with a single rounding, also where the result is subnormal or overflows.
double scale(double v, int k) {
    if (k > 1023) return v * twoTo(1000) * twoTo(k - 1000);
    if (k < -1021) return v * twoTo(-1000) * twoTo(k + 1000);
    return v * twoTo(k);
}

// Natural logarithm of a positive finite x: ln x = e ln 2 + 2 atanh((m-1)/(m+1)).
DD logDD(double x) {
    const Tables& t = tables();
    int e;
    double m = decompose(x, e);
    if (m < 0.70710678118654752) {
        m *= 2;
        --e;
    }
    const DD s = div(DD{m - 1.0, 0}, twoSum(m, 1.0));  // m - 1 is exact here
    const DD s2 = mul(s, s);
    double tail = t.invOdd[kLogTerms].hi;
    for (int j = kLogTerms - 1; j >= kLogHead; --j) tail = tail * s2.hi + t.invOdd[j].hi;
    DD p = {tail, 0};
    for (int j = kLogHead - 1; j >= 0; --j) p = add(mul(p, s2), t.invOdd[j]);
    const DD lnm = mul(mul(s, p), 2.0);
    return add(mul(kLn2, static_cast<double>(e)), lnm);
}

// e^z for |z| <= 800: z = k ln 2 + r, e^r by its series.
double expDD(DD z) {
    const Tables& t = tables();
    const double k = std::nearbyint(z.hi * (1 / kLn2.hi));
    const DD r = add(z, neg(mul(kLn2, k)));
    double tail = t.invFact[kExpTerms].hi;
    for (int n = kExpTerms - 1; n >= kExpHead; --n) tail = tail * r.hi + t.invFact[n].hi;
    DD p = {tail, 0};
    for (int n = kExpHead - 1; n >= 0; --n) p = add(mul(p, r), t.invFact[n]);
    return scale(p.hi, static_cast<int>(k));
}

DD intPow(DD base, std::uint64_t n) {
    DD result = {1, 0};
    while (n) {
        if (n & 1) result = mul(result, base);
        n >>= 1;
        if (n) base = mul(base, base);
    }
    return result;
}

// x > 0 finite, y finite and not 0.
double positivePower(double x, double y) {
    const double ay = std::fabs(y);
    int e;
    decompose(x, e);
    // Integer and half-integer exponents by repeated multiplication, as long as
    // no intermediate power can leave the range where the products stay exact.
    if (ay * (std::abs(e) + 1) <= 900) {
        const double twice = 2 * ay;
        if (std::floor(twice) == twice) {
            DD p = intPow(DD{x, 0}, static_cast<std::uint64_t>(std::floor(ay)));
            if (std::fmod(twice, 2.0) != 0) p = mul(p, sqrtDD(x));
            if (y < 0) p = div(DD{1, 0}, p);
            return p.hi;
        }
    }
    const DD lnx = logDD(x);
    if (ay > 0x1p900) return (lnx.hi > 0) == (y > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    const DD z = mul(lnx, y);
    if (z.hi > 800) return std::numeric_limits<double>::infinity();
    if (z.hi < -800) return 0.0;
    return expDD(z);
}

}  // namespace

double powerOf(double x, double y) {
    const double inf = std::numeric_limits<double>::infinity();
    if (y == 0 || x == 1) return 1;
    if (std::isnan(x) || std::isnan(y)) return std::numeric_limits<double>::quiet_NaN();
    if (std::isinf(y)) {
        const double ax = std::fabs(x);
        if (ax == 1) return 1;
        return (ax < 1) == (y > 0) ? 0.0 : inf;
    }
    const bool yInteger = std::floor(y) == y;
    const bool yOdd = yInteger && std::fmod(y, 2.0) != 0;
    if (x == 0) {
        if (y < 0) return yOdd ? std::copysign(inf, x) : inf;
        return yOdd ? x : 0.0;
    }
    if (std::isinf(x)) {
        if (x > 0) return y < 0 ? 0.0 : inf;
        if (y < 0) return yOdd ? -0.0 : 0.0;
        return yOdd ? -inf : inf;
    }
    // Exactly rounded single operations, the same values as the general path.
    if (y == 2) return x * x;
    if (y == 1) return x;
    if (x < 0) {
        if (!yInteger) return std::numeric_limits<double>::quiet_NaN();
        const double p = positivePower(-x, y);
        return yOdd ? -p : p;
    }
    return positivePower(x, y);
}

}  // namespace zrt
