#include "evaluator/functions.h"

#include <cmath>
#include <limits>

#include "evaluator/errors.h"
#include "support/library_test.h"

using namespace zrt;

class FunctionsTest : public LibraryTest {};

TEST_F(FunctionsTest, SinglePrecisionResults) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        double x;
        double want;
    } cases[] = {
        {"sin", 1, 0.8414709568023682},
        {"sqrt", 2, 1.4142135381698608},
        {"sqr", 2, 1.4142135381698608},
        {"arcsin", 0.5, 0.5235987901687622},
        {"cosh", 0, 1},
        {"tanh", 0, 0},
        {"sinh", 0, 0},
        {"fix", -2.7, -2},
        {"fix", 2.7, 2},
        {"fix", 0, 0},
        {"int", -2.7, -2},
        {"int", 1e12, static_cast<float>(2147483647.0)},  // the saturated value, in single precision
        {"int", -1e12, -2147483648.0},
        {"sgn", -3, -1},
        {"sgn", 0, 0},
        {"abs", -1.5, 1.5},
        {"ln", 0, -inf},
        {"log", 1, 0},
        {"exp", 0, 1},
        {"exp", 1, static_cast<float>(2.7182817f)},
        {"#pi", 0, 3.1415927410125732},
        {"#e", 0, 2.7182817459106445},
        {"#deg", 0, 57.295780181884766},
        {"#rad", 0, 0.01745329238474369},
        {"to_rad", 99, 0.01745329238474369},
        {"arccotan", 0, static_cast<float>(2 * std::atan(1.0))},
        {"log10", 100, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(e_function(c.name, c.x), c.want) << c.name << "(" << c.x << ")";
        EXPECT_EQ(eError(), kNoError) << c.name;
    }
}

TEST_F(FunctionsTest, DomainErrorsRaise13AndStillReturnTheValue) {
    for (const auto& [name, x] : std::vector<std::pair<const char*, double>>{
             {"sqrt", -1}, {"ln", -1}, {"log", -2}, {"log10", -1}, {"arcsin", 1},
             {"arccos", -1}, {"arcsec", 0.5}, {"arccosec", 1}}) {
        setEError(kNoError);
        e_function(name, x);
        EXPECT_EQ(eError(), 13) << name;
    }
    EXPECT_NE(errorLog().find("Invalid Argument = 1 and (-arg^2 + 1) => 0"), std::string::npos);
    EXPECT_TRUE(std::isnan(e_function("sqrt", -1)));
}

TEST_F(FunctionsTest, UnknownNamesRaise4) {
    EXPECT_EQ(e_function("#2pi", 1), 0);
    EXPECT_EQ(eError(), 4);
    EXPECT_EQ(e_function("foo", 1), 0);
    EXPECT_EQ(eError(), 4);
    EXPECT_NE(errorLog().find("Undefined Function = foo"), std::string::npos);
    EXPECT_TRUE(isBuiltinFunction("arccotanh"));
    EXPECT_FALSE(isBuiltinFunction("SIN"));  // callers lower-case first
    EXPECT_FALSE(isBuiltinFunction("pi"));
}

TEST_F(FunctionsTest, RandomStaysInItsRange) {
    seedRandom(42);
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        const double r = e_function("rnd", 3.4);  // 0 .. 3
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 3);
        ASSERT_EQ(r, std::floor(r));
        sawLow |= r == 0;
        sawHigh |= r == 3;
    }
    EXPECT_TRUE(sawLow && sawHigh);
    const double neg = e_function("rnd", -2);
    EXPECT_TRUE(neg >= -2 && neg <= 0);
    EXPECT_EQ(e_function("rnd", 0), 0);
}

TEST_F(FunctionsTest, NamedConstantsGoThroughTheirTenDecimalText) {
    const struct {
        const char* name;
        double v;
    } cases[] = {
        {"pi", 3.1415926536},  {"PI", 3.1415926536},   {"#pi", 3.1415926536},
        {"2pi", 6.2831853072}, {"e", 2.7182818285},    {"deg", 57.2957795131},
        {"to_deg", 57.2957795131}, {"#to_rad", 0.0174532925}, {"rad", 0.0174532925},
    };
    for (const auto& c : cases) {
        double v = 0;
        std::string text;
        EXPECT_EQ(e_get_const(c.name, &v, &text), 1) << c.name;
        EXPECT_EQ(v, c.v) << c.name;
        EXPECT_EQ(eError(), kNoError);
    }
    for (const char* bad : {"tau", "PI ", "", "#", "pi2"}) {
        EXPECT_EQ(e_get_const(bad, nullptr), 0) << bad;
        EXPECT_EQ(eError(), 18) << bad;
    }
}
