#include "base/numtext.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "support/library_test.h"

using namespace zrt;

class NumTextTest : public LibraryTest {};

TEST_F(NumTextTest, FixTextPrintsTenDecimalsRoundedToNearest) {
    const double inf = std::numeric_limits<double>::infinity();
    double allOnes;
    const std::uint64_t bits = ~std::uint64_t{0};
    std::memcpy(&allOnes, &bits, sizeof bits);
    const struct {
        double v;
        const char* text;
    } cases[] = {
        {2, "2.0000000000"},
        {1.0 / 3, "0.3333333333"},
        {2.0 / 3, "0.6666666667"},
        {-0.5, "-0.5000000000"},
        {1e20, "100000000000000000000.0000000000"},
        {0.00000000004, "0.0000000000"},
        {0.00000000006, "0.0000000001"},
        {-0.00000000004, "0.0000000000"},  // no "-0"
        {-0.0, "0.0000000000"},
        {3.141592653589793, "3.1415926536"},
        {inf, "+Infinity"},
        {-inf, "-Infinity"},
        {allOnes, "NaN"},
        {std::nan(""), "NaN"},
    };
    for (const auto& c : cases) EXPECT_EQ(FixText(c.v), c.text) << c.v;
}

TEST_F(NumTextTest, FixTextPrintsHugeValuesInFull) {
    const std::string big = FixText(1e300);
    EXPECT_EQ(big.size(), 301u + 11u);
    EXPECT_EQ(big.substr(0, 17), "10000000000000000");
    EXPECT_EQ(big.substr(big.size() - 11), ".0000000000");
    const double max = std::numeric_limits<double>::max();
    const std::string m = FixText(max);
    EXPECT_EQ(m.size(), 309u + 11u);
    EXPECT_EQ(DecValue(m), max);
    EXPECT_EQ(FixText(-max).size(), 309u + 12u);
}

TEST_F(NumTextTest, DecValueReadsTheLeadingNumberOnly) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double v;
    } cases[] = {
        {"12.5", 12.5},   {"  -3", -3},     {"+4", 4},         {"1.2.3", 1.2},
        {".", 0},         {".5", 0.5},      {"5.", 5},         {"2.5e3", 2500},
        {"2.5E-1x", 0.25}, {"1e", 1},        {"1e+", 1},        {"abc", 0},
        {"", 0},          {"-", 0},         {"\t\r\n7", 7},    {"1e999", inf},
        {"-1e999", -inf}, {"1e-999", 0},    {"0.000e400", 0},  {"12abc", 12},
        {"3.1415926536", 3.1415926536},
    };
    for (const auto& c : cases) EXPECT_EQ(DecValue(c.text), c.v) << c.text;
}

TEST_F(NumTextTest, HexAndBinaryLiterals) {
    EXPECT_EQ(HexValue("1F"), 31);
    EXPECT_EQ(HexValue("ff+1"), 255);
    EXPECT_EQ(HexValue("FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(HexValue("g"), 0);
    EXPECT_EQ(BinVal("!101"), 5);
    EXPECT_EQ(BinVal("!1111"), 15);
    EXPECT_EQ(BinVal("!12"), 0);
    EXPECT_EQ(BinVal("!"), 0);
    EXPECT_EQ(BinVal("101"), 0);
    EXPECT_EQ(BinVal("!" + std::string(100, '1')), -1);  // wraps like the 64-bit sum
}

TEST_F(NumTextTest, StrD0TrimsNumberTexts) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"12.5000000000", "12.5"}, {"3.0000000000", "3"},    {"-0.2500000000", "-0.25"},
        {"0.0000000000", "0"},     {"x = 7.1000000000", "7.1"}, {"+Infinity", "+Infinity"},
        {"1.5000000000", "1.5"},   {"100", "1"},             {"abc", "0"},
        {"Result 12.50", "12.5"},  {"", "0"},                {".5000", "0.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(StrD0(c.in), c.out) << c.in;
    EXPECT_EQ(LastNumText(), "0.5");
    EXPECT_EQ(U(::StrD0(P(Z("2.5000000000")))), "2.5");
}

TEST_F(NumTextTest, TrimZerosKeepsOneDecimalOnRequest) {
    const struct {
        const char* in;
        bool keep;
        const char* out;
    } cases[] = {
        {"0.5", false, ".5"}, {"3", true, "3.0"},   {"3", false, "3"},   {"10", true, "10.0"},
        {"10", false, "10"},  {"0", true, ".0"},    {"0", false, "0"},   {"-0.5", false, "-0.5"},
        {"2.5", true, "2.5"}, {"2", true, "2.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimZeros(c.in, c.keep), c.out) << c.in << c.keep;
}

TEST_F(NumTextTest, TextHelpers) {
    EXPECT_EQ(TrimStr("\r\n\r\nabc\r\n", "\r\n", false), "abc");
    EXPECT_EQ(TrimStr("xXaXx", "x", true), "a");
    EXPECT_EQ(TrimStr("abc", "", false), "abc");
    EXPECT_EQ(TrimStr("aaaa", "aa", false), "");
    EXPECT_EQ(StripBrackets("[mA]"), "mA");
    EXPECT_EQ(StripBrackets("mA]"), "mA");
    EXPECT_EQ(StripBrackets("["), "");
    EXPECT_EQ(StrRepeat(3, "-"), "---");
    EXPECT_EQ(StrRepeat(0, "-"), "");
    EXPECT_EQ(StrRepeat(-4, "-"), "");
}
