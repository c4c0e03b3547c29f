// Script lines whose work or output the input multiplies: each ends in an
// error line with code 13 beyond its bound, and runs as always below it.
#include <string>
#include <vector>

#include "base/errors.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "script/flags.h"
#include "script/interpreter.h"
#include "support/library_test.h"
#include "ui/matrixprint.h"

using namespace zrt;

class ScriptBoundsTest : public LibraryTest {};

namespace {

void storeOnes(const std::string& name, int rows, int cols) {
    storeMatrix(name, std::vector<double>(std::size_t(rows) * std::size_t(cols), 1.0), rows, cols,
                false);
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST_F(ScriptBoundsTest, MatricesBeyondATextAreNotPrinted) {
    // One row more than 1024 x 1024: just beyond what a result shows.
    storeOnes("[big]", 1025, 1024);
    storeOnes("[small]", 2, 2);
    const struct {
        const char* line;
        bool refused;
    } cases[] = {
        {"Expr = [big]", true},
        {"Hex = [big]", true},
        {"Show([big])", true},
        {"StoExpr(copy) = [big]", true},
        {"Expr = [small]", false},
        {"Show([small])", false},
    };
    for (const auto& c : cases) {
        const ScriptResult r = sEval(c.line, {});
        EXPECT_EQ(r.errors, c.refused ? 1 : 0) << c.line;
        EXPECT_EQ(has(r.output, "ERROR n. = 13"), c.refused) << c.line;
        if (c.refused) {
            EXPECT_TRUE(has(r.output, "1025 x 1024 elements")) << r.output;
        }
        EXPECT_LT(r.output.size(), 1000u) << c.line;
    }
    // The refused StoExpr has stored its matrix all the same.
    EXPECT_NE(findMatrixByName("[copy]"), nullptr);
}

TEST_F(ScriptBoundsTest, DecimalsBeyondWhatADoubleHasPrintTheSame) {
    storeMatrix("[m]", {1.0 / 3, -2.5}, 1, 2, false);
    std::string shown[3];
    const int decimals[3] = {kMaxPrintedDecimals, kMaxPrintedDecimals + 1, 2000000000};
    for (int k = 0; k < 3; ++k) {
        batchFlags().decimals = decimals[k];
        shown[k] = sEval("Expr = [m]\r\nExpr = 1/3", {}).output;
    }
    EXPECT_TRUE(has(shown[0], "A(0,1)=-2.500000000000000000000000000000")) << shown[0];
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_EQ(shown[2], shown[0]);
}

TEST_F(ScriptBoundsTest, PlotsOfLongExpressions) {
    std::string longSum = "x", manyX = "x";
    for (int k = 0; k < 2500; ++k) longSum += "+0";  // 5001 characters
    for (int k = 1; k < 210000; ++k) manyX += "+x";
    const struct {
        std::string line;
        const char* refusal;  // nullptr: plotted
    } cases[] = {
        {"Plot = " + longSum + "; 0; x; 1; 10", nullptr},
        {"Plot = " + longSum + "; 0; x; 1; 1000000", "characters of formula text"},
        {"Plot = " + manyX + "; 0; x; 1; 1", "occurs 210000 times"},
    };
    for (const auto& c : cases) {
        const ScriptResult r = sEval(c.line, {});
        const std::string tail = r.output.substr(r.output.find("\r\n"));
        EXPECT_EQ(r.errors, c.refusal ? 1 : 0) << tail;
        if (c.refusal) {
            EXPECT_TRUE(has(tail, "ERROR n. = 13")) << tail;
            EXPECT_TRUE(has(tail, c.refusal)) << tail;
        }
    }
}

TEST_F(ScriptBoundsTest, SelectedLinesAreTheTextsBetweenTwoSemicolons) {
    std::string script;
    for (int i = 1; i <= 12; ++i) script += "Expr = " + std::to_string(i) + "\r\n";
    const struct {
        const char* list;
        int correction;
        std::vector<int> run;
    } cases[] = {
        {";1;12;", 0, {1, 12}},
        {"1;2;", 0, {2}},  // "1" has no ";" before it
        {";01; 2;3;", 0, {3}},
        {";;4;;", 0, {4}},
        {";5;5;", -2, {7}},
        {";-1;2;", -3, {2, 5}},
        {";13;", 1, {12}},
        {"", 0, {}},
    };
    for (const auto& c : cases) {
        ScriptOptions options;
        options.lineSelection = true;
        options.selectedLines = c.list;
        options.lineCorrection = c.correction;
        const ScriptResult r = sEval(script, options);
        std::vector<int> run;
        for (int i = 1; i <= 12; ++i)
            if (has(r.output, "Ln " + std::to_string(i) + ":")) run.push_back(i);
        EXPECT_EQ(run, c.run) << c.list << " " << c.correction;
    }
}

TEST_F(ScriptBoundsTest, TheOutputTakesResultsUpToItsBound) {
    // Showing a function of 10 MB twenty times would make 200 MB of output.
    SetVarFunct("f", std::string(std::size_t{10} << 20, '1'), ListKind::Functs);
    std::string script;
    for (int k = 0; k < 20; ++k) script += "Show(f)\r\n";
    script += "Expr = 1+1";
    const ScriptResult r = sEval(script, {});
    EXPECT_EQ(r.errors, 20 - static_cast<long long>(kMaxScriptOutput / (std::size_t{10} << 20)));
    EXPECT_LE(r.output.size(), kMaxScriptOutput);
    EXPECT_TRUE(has(r.output, "would make the output longer than"));
    // Results that fit still come.
    EXPECT_EQ(r.output.substr(r.output.size() - 10), "Number = 2");
}
