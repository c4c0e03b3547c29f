#include "evaluator/matrixexpr.h"

#include <cmath>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "memory/matrixstore.h"
#include "platform/headless/headless.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

namespace {

using Elements = std::vector<double>;

class MatrixExprTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        SetStrMatrix("[mA];2;2;1;2;3;4", false);
        SetStrMatrix("[mB];3;2;1;0;0;1;2;2", false);  // 3 x 2
        SetStrMatrix("[mS];2;2;1;2;2;4", false);      // singular
        SetStrMatrix("[vB];2;1;5;6", false);
        SetStrMatrix("[mR];1;3;1;2;3", false);  // row vector
    }

    struct Result {
        int code = 0;
        int rows = 0, cols = 0;
        Elements elements;
        double number = 0;
    };

    static Result eval(const std::string& formula) {
        Result r;
        double v = 0;
        r.code = e_eval(formula, &v, 0);
        if (r.code == 0) r.number = v;
        if (r.code == 1 && eError() == ErrorCode::None) {
            const MatrixRecord* m = findMatrixByAddress(static_cast<std::intptr_t>(v));
            EXPECT_NE(m, nullptr) << formula;
            if (m) {
                r.rows = m->rows;
                r.cols = m->cols;
                r.elements = m->elements;
                EXPECT_EQ(lastMatrixRows(), m->rows) << formula;
                EXPECT_EQ(lastMatrixCols(), m->cols) << formula;
            }
        }
        return r;
    }
};

}  // namespace

TEST_F(MatrixExprTest, MatrixResults) {
    const struct {
        const char* formula;
        int rows, cols;
        Elements want;
    } cases[] = {
        {"[mA]", 2, 2, {1, 2, 3, 4}},
        {"[MA]*2", 2, 2, {2, 4, 6, 8}},
        {"2*[mA]", 2, 2, {2, 4, 6, 8}},
        {"[mA]+1", 2, 2, {2, 3, 4, 5}},
        {"1+[mA]", 2, 2, {2, 3, 4, 5}},
        {"[mA]-1", 2, 2, {0, 1, 2, 3}},
        {"10-[mA]", 2, 2, {9, 8, 7, 6}},
        {"-[mA]", 2, 2, {-1, -2, -3, -4}},
        {"[mA]+[mA]", 2, 2, {2, 4, 6, 8}},
        {"[mA]-[mA]*2", 2, 2, {-1, -2, -3, -4}},
        {"[mA]/2", 2, 2, {0.5, 1, 1.5, 2}},
        {"[mA]^2", 2, 2, {7, 10, 15, 22}},
        {"[mA]^3", 2, 2, {37, 54, 81, 118}},
        {"[mA]^-1", 2, 2, {-2, 1, 1.5, -0.5}},
        {"[mA]^-2", 2, 2, {5.5, -2.5, -3.75, 1.75}},
        {"[mA]^0", 2, 2, {1, 2, 3, 4}},
        {"[mA]^1", 2, 2, {1, 2, 3, 4}},
        {"[mA]I", 2, 2, {-2, 1, 1.5, -0.5}},
        {"2/[mA]", 2, 2, {-4, 2, 3, -1}},
        {"[mA]/[mA]", 2, 2, {1, 0, 0, 1}},
        {"[mA]*[mA]I", 2, 2, {1, 0, 0, 1}},
        {"[mA]T", 2, 2, {1, 3, 2, 4}},
        {"[mA]D", 2, 2, {2, 0, 0, 1}},
        // the transposed shape is what later operations see
        {"[mB]T", 2, 3, {1, 0, 2, 0, 1, 2}},
        {"[mB]T*[mB]", 2, 2, {5, 4, 4, 5}},
        {"[mB]*[mA]", 3, 2, {1, 2, 3, 4, 8, 12}},
        {"[mR]T", 3, 1, {1, 2, 3}},
        {"[mR]*[mR]T", 1, 1, {14}},
        {"[mR]T*[mR]", 3, 3, {1, 2, 3, 2, 4, 6, 3, 6, 9}},
        // linear systems either way round, and a least-squares fit
        {"syst([mA];[vB])", 2, 1, {-4, 4.5}},
        {"syst([vB];[mA])", 2, 1, {-4, 4.5}},
        {"vcoeff([mA];[vB];2)", 2, 1, {-4, 4.5}},
        {"vcoeff([vB];[mA];1)", 1, 1, {2.3}},
        {"syst([mA];[vB])*2+1", 2, 1, {-7, 10}},
    };
    for (const auto& c : cases) {
        const Result r = eval(c.formula);
        ASSERT_EQ(r.code, 1) << c.formula << ": e_error " << eError();
        EXPECT_EQ(r.rows, c.rows) << c.formula;
        EXPECT_EQ(r.cols, c.cols) << c.formula;
        ASSERT_EQ(r.elements.size(), c.want.size()) << c.formula;
        for (std::size_t k = 0; k < c.want.size(); ++k)
            EXPECT_NEAR(r.elements[k], c.want[k], 1e-12) << c.formula << " [" << k << "]";
    }
    // Stored matrices never change and only the last result stays behind.
    EXPECT_EQ(findMatrixByName("[ma]")->elements, (Elements{1, 2, 3, 4}));
    EXPECT_EQ(matrixCount(), 6u);
}

TEST_F(MatrixExprTest, NumberResults) {
    const struct {
        const char* formula;
        double want;
    } cases[] = {
        {"det([mA])", -2},       {"trace([mA])", 5},   {"det([mA]I)", -0.5},
        {"det([mS])", 0},        {"det([mA]^2)*2", 8}, {"trace([mB]T*[mB])+1", 11},
        {"det([mR]*[mR]T)", 14},
    };
    for (const auto& c : cases) {
        const Result r = eval(c.formula);
        ASSERT_EQ(r.code, 0) << c.formula << ": e_error " << eError();
        EXPECT_DOUBLE_EQ(r.number, c.want) << c.formula;
    }
    EXPECT_EQ(matrixCount(), 5u);  // number results keep no temporary
}

TEST_F(MatrixExprTest, Failures) {
    const struct {
        const char* formula;
        int code;
        const char* proc;
        const char* detail;
    } cases[] = {
        {"[mZ]", 14, "e_prs", "MatrName = [mZ]"},
        {"[mA]*[mB]", 5, "CalcMatrixDivMult",
         "If A(r1, c1) * B(r2, c2) must be c1 = r2.\r\nc1 = 2\r\nr2 = 3"},
        {"[mA]+[mB]", 5, "CalcMatrixSumSubt", "r1, c1 = 2, 2\r\nr2, c2 = 3, 2"},
        {"[mA]-[mB]T", 5, "CalcMatrixSumSubt", "If A(r1, c1) - B(r2, c2)"},
        {"[mA]^1.5", 9, "CalcMatrixDivMult",
         "Exponent of Matrix (es. [mA]^n) is not integer.\r\nExp = 1.5"},
        {"[mA]^[mA]", 10, "CalcMatrixDivMult", "nnTp = 1\r\nn2Tp = 1"},
        {"2^[mA]", 10, "CalcMatrixDivMult", "nnTp = 0\r\nn2Tp = 1"},
        {"[mA]^2000000", 13, "CalcMatrixDivMult", "is beyond 1000000"},
        {"[mB]^2", 6, "CalcMatrixDivMult", "Dimensions: r1, c1 = 3, 2"},
        {"[mB]^-1", 6, "CalcMatrixDivMult", "Dimensions: r1, c1 = 3, 2"},
        {"[mA]/0", 8, "CalcMatrixDivMult", "Calculation error, token = '"},
        {"[mA]/[mS]", 7, "CalcMatrixDivMult",
         "Matrix is singolar (det = 0) or not squared. It can not be inverted"},
        {"[mA]/[mB]", 5, "CalcMatrixDivMult", "c1 - r2 = 2 - 3"},
        {"1/[mS]", 7, "CalcMatrixDivMult", "It can not be inverted\r\n\r\nr1, c1 = 2, 2"},
        {"1/[mB]", 6, "CalcMatrixDivMult", "It can not be inverted\r\n\r\nr1, c1 = 3, 2"},
        {"[mS]I", 7, "e_prs", "MatrName = [mS]"},
        {"[mS]^-1", 7, "CalcMatrixDivMult", "It can not be inverted"},
        {"[mB]I", 6, "e_prs", "r1, c1 = 3, 2"},
        {"[mB]D", 6, "e_prs", "The diagonal form needs a square matrix"},
        {"det([mB])", 6, "CalcMatrFunct", "Dimensions: r1, c1 = 3, 2"},
        {"trace([mR])", 6, "CalcMatrFunct", "Dimensions: r1, c1 = 1, 3"},
        {"det(2)", 14, "CalcMatrFunct", "Matr Pointer = 2"},
        {"syst([mA];[mA])", 10, "CalcMatrFunct",
         "Dimensions: r1, c1 = 2, 2\r\n            r2, c2 = 2, 2"},
        {"syst([vB];[vB])", 10, "CalcMatrFunct", "r2, c2 = 2, 1"},
        {"syst([mB];[vB])", 5, "CalcMatrFunct", "r1, c1 = 3, 2"},
        {"syst([mS];[vB])", 7, "CalcMatrFunct", "Matrix is singolar"},
        {"syst(1;[vB])", 14, "CalcMatrFunct", "Matr Pointer = 1"},
        {"vcoeff([mA];[mA];1)", 10, "CalcMatrFunct", "nnVect = 0\r\nn2Vect = 0"},
        {"vcoeff([mA];[vB];3)", 13, "CalcMatrFunct", "whole number from 1 to 2"},
        {"vcoeff([mA];[vB];1.5)", 13, "CalcMatrFunct", "k = 1.5"},
        {"vcoeff([mS];[vB];2)", 7, "CalcMatrFunct", "can not be inverted"},
        {"vcoeff([mA];[vB];[mA])", 13, "e_prs", "Last parameter must be numeric."},
        {"[mA] and 1", 10, "e_prs", "takes numbers, not matrices"},
    };
    for (const auto& c : cases) {
        LogError("", 0, "", kLogClear);
        const Result r = eval(c.formula);
        EXPECT_EQ(r.code, c.code) << c.formula;
        EXPECT_EQ(codeNumber(eError()), c.code) << c.formula;
        const std::string& log = errorLog();
        EXPECT_NE(log.find(std::string("Procedure : '") + c.proc + " (Line:"), std::string::npos)
            << c.formula << "\n"
            << log;
        EXPECT_NE(log.find(c.detail), std::string::npos) << c.formula << "\n" << log;
        EXPECT_EQ(matrixCount(), 5u) << c.formula;  // no temporary survives a failure
    }
    EXPECT_EQ(findMatrixByName("[ms]")->elements, (Elements{1, 2, 2, 4}));
}

TEST_F(MatrixExprTest, SingularityIsRelativeToEachRowsScale) {
    // 0.001 times the unit matrix, diag(1e-13, 1e7, 1e7, 1e7), and a matrix
    // whose second row is its first times 3 within an ulp (numerically singular).
    SetStrMatrix("[mT];5;5;0.001;0;0;0;0;0;0.001;0;0;0;0;0;0.001;0;0;0;0;0;0.001;0;0;0;0;0;0.001",
                 false);
    SetStrMatrix("[vT];5;1;1;2;3;4;5", false);
    SetStrMatrix("[mD];4;4;1e-13;0;0;0;0;1e7;0;0;0;0;1e7;0;0;0;0;1e7", false);
    SetStrMatrix("[mN];4;4;1;2;3;4;3;6;9;12.000000000000002;5;1;2;2;7;3;1;8", false);
    SetStrMatrix("[vN];4;1;1;1;1;1", false);
    const struct {
        const char* formula;
        int code;
        Elements want;  // the number, or the elements
    } cases[] = {
        {"det([mT])", 0, {1e-15}},
        {"det([mD])", 0, {1e8}},
        {"det([mN])", 0, {0}},
        {"[mT]I", 1, {1000, 0, 0, 0, 0, 0, 1000, 0, 0, 0, 0, 0, 1000, 0, 0, 0, 0, 0, 1000, 0,
                      0, 0, 0, 0, 1000}},
        {"syst([mT];[vT])", 1, {1000, 2000, 3000, 4000, 5000}},
        {"[mD]I", 1, {1e13, 0, 0, 0, 0, 1e-7, 0, 0, 0, 0, 1e-7, 0, 0, 0, 0, 1e-7}},
        {"[mN]I", 7, {}},
        {"syst([mN];[vN])", 7, {}},
        {"1/[mN]", 7, {}},
    };
    for (const auto& c : cases) {
        const Result r = eval(c.formula);
        ASSERT_EQ(r.code, c.code) << c.formula << ": e_error " << eError();
        const Elements got = c.code == 0 ? Elements{r.number} : r.elements;
        ASSERT_EQ(got.size(), c.want.size()) << c.formula;
        for (std::size_t k = 0; k < c.want.size(); ++k)
            EXPECT_NEAR(got[k], c.want[k], std::fabs(c.want[k]) * 1e-14) << c.formula << " " << k;
    }
}

TEST_F(MatrixExprTest, ErrorDetailIsShownWhenMessagesAreOn) {
    double v;
    e_eval("[mA]*[mB]", &v, 0);
    EXPECT_TRUE(headless::shownMessages().empty());
    zrt::ShowMsgs(1);
    e_eval("[mA]*[mB]", &v, 0);
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].title, "ZeRarove: Error");
    EXPECT_NE(headless::shownMessages()[0].text.find("must be c1 = r2"), std::string::npos);
    EXPECT_EQ(eError(), ErrorCode::ValueNotDefined);
}

TEST_F(MatrixExprTest, TemporariesNeverReplaceAScriptMatrix) {
    // A script may name its own matrices like the temporaries.
    SetStrMatrix("m_1;1;1;42", false);
    SetStrMatrix("m_2;1;1;43", false);
    const Result r = eval("[mA]*[mA]+[mA]");
    ASSERT_EQ(r.code, 1);
    EXPECT_EQ(r.elements, (Elements{8, 12, 18, 26}));
    EXPECT_EQ(findMatrixByName("m_1")->elements, (Elements{42}));
    EXPECT_EQ(findMatrixByName("m_2")->elements, (Elements{43}));
    EXPECT_FALSE(findMatrixByName("m_1")->internal);
}

TEST_F(MatrixExprTest, UsedOperandsGoAtOnce) {
    // A long sum of large matrices keeps one temporary per pending operand,
    // not one per operand of the formula.
    std::string defn = "[mL];300;300";
    for (int k = 0; k < 300 * 300; ++k) defn += ";1";
    ASSERT_EQ(SetStrMatrix(defn, false), 5);
    std::string formula = "[mL]";
    for (int k = 0; k < 400; ++k) formula += "+[mL]";
    std::size_t most = 0;
    headless::setWhileBoxIsOpen([&] { most = std::max(most, matrixCount()); });
    zrt::ShowMsgs(1);
    formula += "+[mA]";  // the size error at the end opens the box mid-evaluation
    Result r = eval(formula);
    headless::setWhileBoxIsOpen(nullptr);
    EXPECT_EQ(r.code, 5);
    EXPECT_LE(most, 9u);  // six stored matrices, the running sum and the two operands
}

TEST_F(MatrixExprTest, DeEvalKeepsTheResultAsMResult) {
    const double address = de_eval("[mA]T*2", 0);
    const MatrixRecord* result = findMatrixByName("[mresult]");
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(static_cast<double>(result->address()), address);
    EXPECT_EQ(result->elements, (Elements{2, 6, 4, 8}));
    EXPECT_EQ(matrixCount(), 6u);
    de_eval("[mB]T", 0);
    result = findMatrixByName("[mresult]");
    EXPECT_EQ(result->rows, 2);
    EXPECT_EQ(result->cols, 3);
    EXPECT_EQ(matrixCount(), 6u);
}

TEST_F(MatrixExprTest, ProductsBeyondTheLargestMatrixFail) {
    std::string column = "[c];5000;1", row = "[r];1;5000";
    for (int k = 0; k < 5000; ++k) {
        column += ";1";
        row += ";1";
    }
    ASSERT_EQ(SetStrMatrix(column, false), 5);
    ASSERT_EQ(SetStrMatrix(row, false), 6);
    LogError("", 0, "", kLogClear);
    EXPECT_EQ(eval("[c]*[r]").code, 13);
    EXPECT_NE(errorLog().find("25000000 elements"), std::string::npos);
    EXPECT_EQ(eval("[r]*[c]").elements, (Elements{5000}));
}

TEST_F(MatrixExprTest, OperationsBeyondTheLibrarysWorkBoundFailWithCode13) {
    std::string definition = "[mC];100;100";
    for (int i = 0; i < 100 * 100; ++i) definition += i % 101 ? ";0" : ";1";  // the unit matrix
    SetStrMatrix(definition, false);
    for (const char* formula : {"[mC]^4297", "[mC]^-4297"}) {
        EXPECT_EQ(eval(formula).code, 13) << formula;
        EXPECT_EQ(eError(), ErrorCode::InvalidArgument) << formula;
        EXPECT_NE(errorLog().find("The power 4297 of A(100, 100) takes about"), std::string::npos);
        EXPECT_NE(errorLog().find("The matrix is too large for this operation"), std::string::npos);
        zrt::ReSetZeRarove();
        SetStrMatrix(definition, false);
    }
    const Result inside = eval("[mC]^3");
    EXPECT_EQ(inside.code, 1);
    EXPECT_EQ(inside.rows, 100);
}
