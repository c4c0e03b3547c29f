#include "numerics/numbertheory.h"

#include <climits>
#include <cmath>

#include "base/errors.h"
#include "support/library_test.h"

class NumberTheoryTest : public LibraryTest {};

namespace {

// Plain trial division, the reference for both primality tests.
std::int64_t smallestDivisor(std::int64_t a) {
    for (std::int64_t d = 2; d * d <= a; ++d)
        if (a % d == 0) return d;
    return a;
}

}  // namespace

TEST_F(NumberTheoryTest, PrimalityKnownValues) {
    struct Case {
        int a, isPrime, lIsPrime;
    } cases[] = {{2, -1, -1},         {3, -1, -1},         {37, -1, -1},
                 {41, -1, -1},        {529, 0, 23},        {9, 0, 3},
                 {15, 0, 3},          {13, -1, -1},        {49, 0, 7},
                 {4, 0, 2},           {1024, 0, 2},        {1, 0, 0},
                 {0, 0, 0},           {-7, 0, 0},          {INT_MIN, 0, 0},
                 {INT_MAX, -1, -1},   {INT_MAX - 1, 0, 2}, {46337 * 46337, 0, 46337},
                 {2147483629, -1, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(zrt::IsPrime(c.a), c.isPrime) << c.a;
        EXPECT_EQ(zrt::lIsPrime(c.a), c.lIsPrime) << c.a;
        EXPECT_EQ(IsPrime(c.a), c.isPrime) << c.a;
        EXPECT_EQ(lIsPrime(c.a), c.lIsPrime) << c.a;
    }
}

TEST_F(NumberTheoryTest, PrimalityAgreesWithTrialDivision) {
    // Every number up to 30000 and a window below 2^31 cover the wheel's turns.
    auto check = [](std::int64_t a) {
        const std::int64_t d = smallestDivisor(a);
        const bool prime = a >= 2 && d == a;
        ASSERT_EQ(zrt::IsPrime(static_cast<int>(a)), prime ? -1 : 0) << a;
        ASSERT_EQ(zrt::lIsPrime(static_cast<int>(a)), a < 2 ? 0 : prime ? -1 : d) << a;
    };
    for (std::int64_t a = -5; a <= 30000; ++a) check(a);
    for (std::int64_t a = INT_MAX - 3000; a <= INT_MAX; ++a) check(a);
}

TEST_F(NumberTheoryTest, GreatestCommonFactor) {
    struct Case {
        int a, b, gcf, lcm;
    } cases[] = {{12, -18, 6, 36},
                 {7, 7, 7, 7},
                 {4, 6, 2, 12},
                 {0, 5, 5, 0},
                 {-5, 0, 5, 0},
                 {0, 0, 0, 0},
                 {-4, -6, 2, 12},
                 // Beyond 2^24 single-precision remainders would go wrong.
                 {16777217 * 3, 16777217 * 5, 16777217, 16777217 * 15},
                 {1 << 30, 3 << 29, 1 << 29, 0},
                 {INT_MIN, 6, 2, 0},
                 {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                 {46340, 46341, 1, 2147441940}};
    for (const Case& c : cases) {
        SetE_Error(-1);
        EXPECT_EQ(GCF(c.a, c.b), c.gcf) << c.a << ", " << c.b;
        EXPECT_EQ(GCF(c.b, c.a), c.gcf) << c.a << ", " << c.b;
        if (c.lcm) {
            EXPECT_EQ(LCM(c.a, c.b), c.lcm) << c.a << ", " << c.b;
        }
        EXPECT_EQ(GetE_Error(), -1) << c.a << ", " << c.b;
    }
}

TEST_F(NumberTheoryTest, ResultsBeyondTheIntegerRangeAreReported) {
    struct Case {
        int (*f)(int, int);
        int a, b;
    } cases[] = {{GCF, INT_MIN, 0}, {GCF, INT_MIN, INT_MIN}, {LCM, 65536, 65537},
                 {LCM, INT_MIN, 1}, {LCM, INT_MIN, 3},       {LCM, INT_MAX, INT_MAX - 1}};
    for (const Case& c : cases) {
        SetE_Error(-1);
        EXPECT_EQ(c.f(c.a, c.b), 0) << c.a << ", " << c.b;
        EXPECT_EQ(GetE_Error(), 5) << c.a << ", " << c.b;
    }
    EXPECT_NE(zrt::errorLog().find("exceeds the 32-bit range"), std::string::npos);
    EXPECT_NE(zrt::errorLog().find("Procedure : 'LCM"), std::string::npos);
}

TEST_F(NumberTheoryTest, Factorial) {
    struct Case {
        int n;
        double value;
    } cases[] = {{0, 1}, {1, 1}, {-3, 1}, {INT_MIN, 1}, {5, 120}, {20, 2432902008176640000.0}};
    for (const Case& c : cases) EXPECT_EQ(fact(c.n), c.value) << c.n;
    EXPECT_TRUE(std::isfinite(fact(170)));
    EXPECT_GT(fact(170), 7.25e306);
    EXPECT_TRUE(std::isinf(fact(171)));
    EXPECT_TRUE(std::isinf(fact(INT_MAX)));
    EXPECT_EQ(fact_inv(), 0.0);
}
