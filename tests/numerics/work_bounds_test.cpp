// Calls that evaluate a formula at many points (tables, integrals, the
// solvers' walks and steps) refuse at once, with e_error 13, what would read
// more formula text than one call may; below that they compute as ever.
#include <functional>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "memory/varstore.h"
#include "calculus/integration.h"
#include "calculus/solved.h"
#include "calculus/solvers.h"
#include "support/library_test.h"

using namespace zrt;

class WorkBoundsTest : public LibraryTest {};

namespace {

// "x" followed by `zeros` terms "+0": worth x, of 1 + 2 * zeros characters.
std::string padded(const std::string& head, std::size_t zeros) {
    std::string f = head;
    f.reserve(head.size() + 2 * zeros);
    for (std::size_t k = 0; k < zeros; ++k) f += "+0";
    return f;
}

std::string repeated(const std::string& part, std::size_t times) {
    std::string f;
    for (std::size_t k = 0; k < times; ++k) f += (k ? "+" : "") + part;
    return f;
}

}  // namespace

TEST_F(WorkBoundsTest, ManyPointsOfALongFormula) {
    const std::string table = padded("x", 500);       // 1001 characters
    const std::string steps = padded("x", 2500);      // 5001
    const std::string walk = padded("x-5", 5500000);  // 11 million
    const std::string named = "x-5+0*" + std::string(11000000, 'q');
    double value = 0;
    std::string text;
    const struct {
        const char* what;
        std::function<bool()> run;  // true when the call computed
        bool refused;
    } cases[] = {
        {"e_evals 100 steps",
         [&] {
             return e_evals(table, 0, "x", 1, 100, nullptr, nullptr, nullptr) == ErrorCode::None;
         },
         false},
        {"e_evals 5 million steps",
         [&] {
             return e_evals(table, 0, "x", 1, 5000000, nullptr, nullptr, nullptr) ==
                    ErrorCode::None;
         },
         true},
        {"Integrate n = 100",
         [&] {
             return Integrate(table, 0, 1, 100, kTrapezoidal, "x", &value) == 0 && value == 0.5;
         },
         false},
        {"Integrate n = 5 million",
         [&] { return Integrate(table, 0, 1, 5000000, kMidpoint, "x", &value) == 0; }, true},
        {"sPolyNewt 200", [&] { return sPolyNewt(steps, "x", 200) == "1.0000000000"; }, false},
        {"sPolyNewt a million", [&] { return !sPolyNewt(steps, "x", 1000000).empty(); }, true},
        {"sSolve 20 steps", [&] { return !(text = sSolve(steps, "x", 20)).empty(); }, false},
        {"sSolve a million steps", [&] { return !sSolve(steps, "x", 1000000).empty(); }, true},
        {"NewtSolve", [&] { return NewtSolve(walk, "x", &value) == codeNumber(ErrorCode::None); },
         true},
        {"dPolySolve", [&] { return dPolySolve(walk, "x") != 0; }, true},
        {"dSolve", [&] { return dSolve(walk, "x") != 0; }, true},
        {"SolveD", [&] { return SolveD(named, "x", &value) != 13; }, true},
    };
    for (const auto& c : cases) {
        LogError("", 0, "", kLogClear);
        setEError(ErrorCode::None);
        EXPECT_EQ(c.run(), !c.refused) << c.what;
        if (c.refused) {
            EXPECT_EQ(eError(), ErrorCode::InvalidArgument) << c.what;
            EXPECT_NE(errorLog().find("characters of formula text"), std::string::npos) << c.what;
        }
    }
    EXPECT_EQ(text, "0.0000000000");  // the root of x by 20 Newton steps
}

TEST_F(WorkBoundsTest, UserFunctionsCountAsTheTextTheyBecome) {
    // One letter that stands for ten thousand characters.
    SetVarFunct("g", padded("1", 5000), ListKind::Functs);
    std::vector<double> y(5);
    EXPECT_EQ(e_evals("g*x", 0, "x", 1, 4, nullptr, y.data(), nullptr), ErrorCode::None);
    EXPECT_EQ(y[4], 1);
    EXPECT_EQ(e_evals("g*x", 0, "x", 1, 500000, nullptr, nullptr, nullptr),
              ErrorCode::InvalidArgument);
    double integral = 0;
    EXPECT_EQ(Integrate("g*x", 0, 1, 500000, kMidpoint, "x", &integral), 13);
}

TEST_F(WorkBoundsTest, PointTextsMustFitAFormula) {
    // 210000 occurrences of x: with the longest point texts in their places
    // the formula would pass the 64 MB a prepared formula may have.
    const std::string many = repeated("x", 210000), some = repeated("x", 1000);
    std::vector<double> y(2);
    EXPECT_EQ(e_evals(some, 1, "x", 2, 1, nullptr, y.data(), nullptr), ErrorCode::None);
    EXPECT_EQ(y[1], 2000);
    double integral = 0;
    EXPECT_EQ(Integrate(some, 0, 1, 2, kTrapezoidal, "x", &integral), 0);
    EXPECT_EQ(integral, 500);

    LogError("", 0, "", kLogClear);
    EXPECT_EQ(e_evals(many, 1, "x", 2, 1, nullptr, nullptr, nullptr), ErrorCode::InvalidArgument);
    EXPECT_EQ(Integrate(many, 0, 1, 2, kTrapezoidal, "x", &integral), 13);
    EXPECT_NE(errorLog().find("occurs 210000 times"), std::string::npos);
}
