// Tabulation with e_evals and the batch result text of GetEvalResult.
#include <cmath>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "evaluator/pointformula.h"
#include "script/batch_state.h"
#include "support/library_test.h"

using namespace zrt;

class EvalsTest : public LibraryTest {};

namespace {

struct Table {
    std::vector<double> x, y;
    double bounds[5] = {9, 9, 9, 9, 9};
    int code = 0;
};

Table tabulate(const std::string& formula, double start, const std::string& var, double end, int steps) {
    Table t;
    t.x.assign(static_cast<std::size_t>(steps) + 1, 99);
    t.y.assign(static_cast<std::size_t>(steps) + 1, 99);
    t.code = codeNumber(e_evals(formula, start, var, end, steps, t.x.data(), t.y.data(), t.bounds));
    return t;
}

std::vector<double> bounds(const Table& t) { return std::vector<double>(t.bounds, t.bounds + 5); }

}  // namespace

TEST_F(EvalsTest, TabulatesAFormulaOfOneVariable) {
    const Table t = tabulate("x^2", 0, "x", 1, 4);
    EXPECT_EQ(t.code, -1);
    EXPECT_EQ(t.x, (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
    EXPECT_EQ(t.y, (std::vector<double>{0, 0.0625, 0.25, 0.5625, 1}));
    EXPECT_EQ(bounds(t), (std::vector<double>{0, 0, 0, 1, 1}));

    // The name is replaced as case-sensitive text: X stays and is the variable X.
    const Table u = tabulate("x*2+X", 1, "x", 2, 1);
    EXPECT_EQ(u.code, 4);
}

TEST_F(EvalsTest, FailedPointsRepeatThePreviousValue) {
    const Table t = tabulate("1/x", 0, "x", 1, 2);
    EXPECT_EQ(t.code, -1);
    EXPECT_EQ(t.y, (std::vector<double>{0, 2, 1}));
    // The bounds start at the first point that has a value.
    EXPECT_EQ(bounds(t), (std::vector<double>{0, 0.5, 1, 1, 2}));

    LogError("", 0, "", kLogClear);
    const Table u = tabulate("1/(x-1)", 0, "x", 1, 2);
    EXPECT_EQ(u.code, 8);
    EXPECT_EQ(eError(), ErrorCode::DivisionByZero);
    EXPECT_EQ(u.y, (std::vector<double>{-1, -2, -2}));
    EXPECT_NE(errorLog().find("Procedure : 'e_evals"), std::string::npos);
}

TEST_F(EvalsTest, PointsBeyondTheEndReadZero) {
    // Adding the step six times overshoots 1.3: the last point is not computed.
    const Table t = tabulate("x+1", 0, "x", 1.3, 6);
    EXPECT_EQ(t.code, -1);
    EXPECT_EQ(t.x.back(), 0);
    EXPECT_EQ(t.y.back(), 0);
    EXPECT_NE(t.y[5], 0);
}

TEST_F(EvalsTest, OddArguments) {
    EXPECT_EQ(e_evals("x", 0, "x", 1, 4, nullptr, nullptr, nullptr), ErrorCode::None);
    Table t = tabulate("x", 5, "x", 1, 3);  // start after end: nothing computed
    EXPECT_EQ(t.x, (std::vector<double>(4, 0)));
    t = tabulate("x", 2, "x", 2, 0);  // one point
    EXPECT_EQ(t.x, (std::vector<double>{2}));
    EXPECT_EQ(t.y, (std::vector<double>{2}));
    double x[1] = {7}, y[1] = {7};
    EXPECT_EQ(e_evals("x", 0, "x", 1, -1, x, y, nullptr), ErrorCode::None);  // no point at all
    EXPECT_EQ(x[0], 7);
    t = tabulate("3", 0, "", 1, 1);  // no variable: the formula as it is
    EXPECT_EQ(t.y, (std::vector<double>{3, 3}));
    t = tabulate("x", -0.5, "x", 0.5, 1);  // negative points enter in brackets
    EXPECT_EQ(t.y, (std::vector<double>{-0.5, 0.5}));
    // A count typed by mistake is refused before any point is computed.
    x[0] = 7;
    EXPECT_EQ(e_evals("x", 0, "x", 0, kMaxTableSteps + 1, x, y, nullptr),
              ErrorCode::InvalidArgument);
    EXPECT_EQ(eError(), ErrorCode::InvalidArgument);
    EXPECT_EQ(x[0], 7);
    EXPECT_NE(errorLog().find("a table has at most 10000000 steps"), std::string::npos);
}

TEST_F(EvalsTest, GetEvalResultCopiesUpToThePlaceholder) {
    setZrtResStr("Expr = 6.2831853072");
    EXPECT_EQ(GetEvalResult(nullptr, 0), 19);
    EXPECT_EQ(GetEvalResult(nullptr, 1), 0);
    std::u16string buf = u"###################";  // as long as the result
    EXPECT_EQ(GetEvalResult(reinterpret_cast<zrt_char*>(&buf[0]), 1), 19);
    EXPECT_EQ(U(P(buf)), "Expr = 6.2831853072");
    std::u16string small = u"#####";
    EXPECT_EQ(GetEvalResult(reinterpret_cast<zrt_char*>(&small[0]), 1), 5);
    EXPECT_EQ(U(P(small)), "Expr ");
    std::u16string large(40, u'#');
    EXPECT_EQ(GetEvalResult(reinterpret_cast<zrt_char*>(&large[0]), 1), 19);
    EXPECT_EQ(U(P(large)), "Expr = 6.2831853072");
    EXPECT_EQ(large[20], u'#');  // nothing written after the terminating zero
}

TEST_F(EvalsTest, PointsEnterAsTheirTrimmedTenDecimalText) {
    // Each point reads back as the value of NumText(FixText(x)).
    const struct {
        double start, end;
        int steps;
    } ranges[] = {{-3.7e5, 2.9e5, 997}, {-1e-11, 1e-11, 8}, {0.1, 0.7, 6}, {-1e15, 1e15, 50}};
    for (const auto& r : ranges) {
        const Table t = tabulate("x", r.start, "x", r.end, r.steps);
        for (std::size_t i = 0; i < t.x.size(); ++i) {
            if (t.x[i] == 0 && t.y[i] == 0) continue;  // not reached
            EXPECT_EQ(t.y[i], DecValue(shortNumber(t.x[i]))) << t.x[i];
        }
    }
}

TEST_F(EvalsTest, LongTablesAgreeWithThePointTexts) {
    // Points go to the prepared form in blocks: failures inside and across
    // blocks, and points the form hands to the text (|x| of 1e5 and more).
    // Every step is a power of two: the table reaches its end exactly.
    const struct {
        const char* formula;
        double start, end;
    } cases[] = {
        {"sin(x)*x^2", -2, 2},
        {"1/(x-1)", -2, 2},
        {"sqrt(x)+x", -1, 3},
        {"x mod 2", -4, 4},
        {"ln(x)*(x>1)", -1, 7},
        {"x^2", 99996, 100004},
        // Steps of 2^-11: x * 10^10 lies halfway between two integers at
        // every other point.
        {"x*3", -0.0625, 0.0625},
    };
    for (const auto& c : cases) {
        const int steps = 256;
        const Table t = tabulate(c.formula, c.start, "x", c.end, steps);
        PointFormula text(c.formula, "x");
        double y = 0;
        for (int i = 0; i <= steps; ++i) {
            ASSERT_EQ(t.x[i], c.start + (c.end - c.start) * i / steps) << c.formula;
            e_eval(text.textAt(t.x[i]), &y, 0);
            ASSERT_TRUE(t.y[i] == y || (std::isnan(t.y[i]) && std::isnan(y)))
                << c.formula << " at " << t.x[i] << ": " << t.y[i] << " vs " << y;
        }
        EXPECT_EQ(t.code, codeNumber(eError())) << c.formula;
    }
}
