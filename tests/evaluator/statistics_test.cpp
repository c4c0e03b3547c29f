#include "evaluator/statistics.h"

#include <cmath>
#include <string>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "support/library_test.h"

using namespace zrt;

class StatisticsTest : public LibraryTest {};

TEST_F(StatisticsTest, EveryWord) {
    SetVarFunct("x", "3", ListKind::Vars);
    const struct {
        const char* formula;
        double want;
    } cases[] = {
        {"count(1;2;3)", 3}, {"count(7)", 1}, {"min(5)", 5}, {"max(-5)", -5}, {"max(1;7;3)", 7},
        {"min(4;-2;9)", -2}, {"median(5)", 5}, {"median(3;1;2)", 2}, {"median(4;1;3;2)", 2.5},
        {"median(11;10;9;8;7;6;5;4;3;2;1)", 6}, {"stddev(2;4;4;4;5;5;7;9)", 2.138089935299395},
        {"avg(1;2)", 1.5}, {"mean(1;2;6)", 3}, {"sum(1;2*3)", 7}, {"sum(x;2*x;3)", 12},
        {"sum2(1;2;3)", 14}, {"prod(2;3;4)", 24}, {"prod2(2;3)", 36}, {"geom_mean(2;8)", 4},
        {"geom_mean(1;2;4)", 2}, {"SUM(1;1)+1", 3}, {"sum(sum(1;2);max(3;4))", 7},
        {"sum(1,5;2,5)", 4}, {"-sum(1;2)^2", -9},
    };
    for (const auto& c : cases) {
        double v = 0;
        EXPECT_EQ(e_eval(c.formula, &v, 0), 0) << c.formula << " e_error " << eError();
        EXPECT_EQ(v, c.want) << c.formula;
    }
}

TEST_F(StatisticsTest, ValuesThatAreNotNumbers) {
    double v = 0;
    // One operand: zero by zero; a negative product with an even count.
    EXPECT_EQ(e_eval("stddev(5)", &v, 0), 0);
    EXPECT_TRUE(std::isnan(v));
    EXPECT_EQ(e_eval("geom_mean(-2;8)", &v, 0), 0);
    EXPECT_TRUE(std::isnan(v));
    // Sorting copes with them: they go last.
    EXPECT_EQ(e_eval("median(stddev(1);2;1)", &v, 0), 0);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(e_eval("min(stddev(1);2;1)", &v, 0), 0);
    EXPECT_TRUE(std::isnan(v));  // the smallest starts from the first operand
}

TEST_F(StatisticsTest, ErrorsEndTheList) {
    SetStrMatrix("[mA];2;2;1;2;3;4", false);
    const struct {
        const char* formula;
        int code;
    } cases[] = {
        {"sum(1;1/0;2)", 8}, {"sum()", 3}, {"sum(1;)", 3}, {"sum 1", 6}, {"sum(1;2", 6},
        {"sum(1;[mA])", 10}, {"count(1,2,3)", 0},
    };
    for (const auto& c : cases) {
        double v = 0;
        EXPECT_EQ(e_eval(c.formula, &v, 0), c.code) << c.formula;
    }
}

TEST_F(StatisticsTest, AMillionOperands) {
    std::string f = "sum(1";
    for (int i = 1; i < 1000000; ++i) f += ";1";
    f += ")";
    double v = 0;
    ASSERT_EQ(e_eval(f, &v, 0), 0);
    EXPECT_EQ(v, 1000000);
    f.replace(0, 3, "median");
    ASSERT_EQ(e_eval(f, &v, 0), 0);
    EXPECT_EQ(v, 1);
}
