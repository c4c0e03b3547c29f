#include "evaluator/functions.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/errors.h"
#include "memory/varstore.h"
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
        EXPECT_EQ(eError(), ErrorCode::None) << c.name;
    }
}

TEST_F(FunctionsTest, DomainErrorsRaise13AndStillReturnTheValue) {
    for (const auto& [name, x] : std::vector<std::pair<const char*, double>>{
             {"sqrt", -1}, {"ln", -1}, {"log", -2}, {"log10", -1}, {"arcsin", 1},
             {"arccos", -1}, {"arcsec", 0.5}, {"arccosec", 1}}) {
        setEError(ErrorCode::None);
        e_function(name, x);
        EXPECT_EQ(eError(), ErrorCode::InvalidArgument) << name;
    }
    EXPECT_NE(errorLog().find("Invalid Argument = 1 and (-arg^2 + 1) => 0"), std::string::npos);
    EXPECT_TRUE(std::isnan(e_function("sqrt", -1)));
}

TEST_F(FunctionsTest, UnknownNamesRaise4) {
    EXPECT_EQ(e_function("#2pi", 1), 0);
    EXPECT_EQ(eError(), ErrorCode::UndefinedFunction);
    EXPECT_EQ(e_function("foo", 1), 0);
    EXPECT_EQ(eError(), ErrorCode::UndefinedFunction);
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
        EXPECT_EQ(eError(), ErrorCode::None);
    }
    for (const char* bad : {"tau", "PI ", "", "#", "pi2"}) {
        EXPECT_EQ(e_get_const(bad, nullptr), 0) << bad;
        EXPECT_EQ(eError(), ErrorCode::UndefinedConstant) << bad;
    }
}

// Inverse secant, cosecant and cotangent against their textbook values:
// arcsec x = acos(1/x) in [0, pi], arccosec x = asin(1/x) in [-pi/2, pi/2],
// arccotan x = pi/2 - atan x in (0, pi); single precision, so seven digits.
TEST_F(FunctionsTest, InverseSecantCosecantCotangent) {
    const double pi = 3.14159265358979323846;
    const struct {
        const char* name;
        double x;
        double want;
    } cases[] = {
        {"arcsec", 2, pi / 3},           {"arcsec", -2, 2 * pi / 3},
        {"arcsec", 1.5, 0.8410686705679303}, {"arcsec", -10, 1.6709637479564565},
        {"arcsec", 1e6, pi / 2 - 1e-6},  {"arccosec", 2, pi / 6},
        {"arccosec", -2, -pi / 6},       {"arccosec", 1.5, 0.7297276562269663},
        {"arccosec", -10, -0.1001674211615598}, {"arccotan", 1, pi / 4},
        {"arccotan", -1, 3 * pi / 4},    {"arccotan", 0, pi / 2},
        {"arccotan", 3, 0.3217505543966422}, {"arccotan", -3, 2.819842099193151},
        {"arccotan", 1e7, 1e-7},         {"arcctg", -1, 3 * pi / 4},
    };
    for (const auto& c : cases) {
        const double got = e_function(c.name, c.x);
        EXPECT_NEAR(got, c.want, 3e-7 * std::max(1.0, std::fabs(c.want))) << c.name << "(" << c.x << ")";
        EXPECT_EQ(got, static_cast<double>(static_cast<float>(got))) << "single precision";
        EXPECT_EQ(eError(), ErrorCode::None) << c.name << "(" << c.x << ")";
    }
    // The domain checks stay: |x| must exceed 1 (1 itself is refused too).
    for (double x : {1.0, -1.0, 0.5, 0.0, -0.3}) {
        for (const char* name : {"arcsec", "arccosec"}) {
            setEError(ErrorCode::None);
            e_function(name, x);
            EXPECT_EQ(eError(), ErrorCode::InvalidArgument) << name << "(" << x << ")";
        }
    }
    EXPECT_NE(errorLog().find("Invalid Argument = 0.5 and (arg^2 - 1) => -0.75"), std::string::npos);
}

// The differentiator's spellings are the same functions as their evaluator
// names; heaviside is the unit step with heaviside(0) = 1.
TEST_F(FunctionsTest, DifferentiatorSpellings) {
    const std::pair<const char*, const char*> aliases[] = {
        {"tg", "tan"},     {"ctg", "cotan"},   {"arctg", "atan"}, {"arctan", "atan"},
        {"arcctg", "arccotan"}, {"sh", "sinh"}, {"ch", "cosh"},   {"th", "tanh"},
        {"tgh", "tanh"},   {"cth", "cotanh"},  {"ctgh", "cotanh"}, {"sign", "sgn"},
    };
    for (const auto& [alias, name] : aliases)
        for (double x : {-1.7, -0.4, 0.6, 2.3})
            EXPECT_EQ(e_function(alias, x), e_function(name, x)) << alias << "(" << x << ")";
    const std::pair<double, double> steps[] = {{-2, 0}, {-1e-30, 0}, {0, 1}, {1e-30, 1}, {5, 1}};
    for (const auto& [x, want] : steps) EXPECT_EQ(e_function("heaviside", x), want) << x;
    EXPECT_FALSE(isBuiltinFunction("h"));

    double v = 0;
    EXPECT_EQ(::e_eval(P(Z("sh(1)-sinh(1)+TG(0.5)-tan(0.5)+Heaviside(0)")), &v, 0), 0);
    EXPECT_EQ(v, 1);
    // A stored variable of the same name still wins over the function.
    SetVarFunct("ch", "2", ListKind::Vars);
    EXPECT_EQ(::e_eval(P(Z("ch*3")), &v, 0), 0);
    EXPECT_EQ(v, 6);
    EXPECT_EQ(::e_eval(P(Z("h(1)")), &v, 0), 4);
}
