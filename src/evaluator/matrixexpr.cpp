#include "evaluator/matrixexpr.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "evaluator/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/lexer.h"
#include "evaluator/numtext.h"
#include "memory/matrixstore.h"

namespace zrt {

namespace {

struct MatrixExprState {
    int lastRows = 0;
    int lastCols = 0;
    std::uint64_t temporaryCount = 0;  // numbers the temporaries "m_1", "m_2", ...
};

MatrixExprState& matrixExprState() {
    static MatrixExprState state;
    return state;
}

std::string typeLines(unsigned char typeA, unsigned char typeB) {
    return "nnTp = " + std::to_string(typeA) + "\r\nn2Tp = " + std::to_string(typeB) + "\r\n";
}

// Every failure of the three operations is logged under the operation's
// name and, with error messages switched on, shown.
double fail(int code, const char* proc, const std::string& detail, double value) {
    setEError(code);
    logError(proc, 0, detail);
    showEvalErrorKeeping(detail);
    return value;
}

}  // namespace

namespace matrixexpr_detail {

double divisionByZero(double a) {
    return fail(8, "CalcMatrixDivMult", "Calculation error, token = '/'\r\n", a);
}

// Matrix arithmetic comes with the matrix library; until then a matrix
// operand of an operator is a case the evaluator does not handle.
double sumSubtMatrix(char, double a, double, unsigned char* typeA, unsigned char typeB) {
    return fail(10, "CalcMatrixSumSubt", typeLines(*typeA, typeB), a);
}

double divMultMatrix(char op, double a, double, unsigned char* typeA, unsigned char typeB) {
    std::string detail;
    if (op == '/') {
        detail = "Case not found. token2 = / and mName = " + currentElement() + "\r\n";
    }
    return fail(10, "CalcMatrixDivMult", detail + typeLines(*typeA, typeB), a);
}

}  // namespace matrixexpr_detail

double CalcMatrFunct(std::string_view name, double, unsigned char typeA, double,
                     unsigned char typeB, double, unsigned char, unsigned char* type) {
    *type = kNumberType;
    return fail(10, "CalcMatrFunct",
                "Case not found. case (tok2) = " + std::string(name) + "\r\n\r\n" +
                    typeLines(typeA, typeB),
                0);
}

double matrixOperand(std::string_view name, char suffix, unsigned char* type) {
    *type = kNumberType;
    MatrixRecord* stored = findMatrixByName(lowerAscii(trimBlanks(name)));
    if (!stored) {
        setEError(14);
        logError("e_prs", 0, "MatrName = " + std::string(name));
        return 14;
    }
    // Evaluation works on a copy: stored matrices never change.
    MatrixExprState& s = matrixExprState();
    const int rows = stored->rows, cols = stored->cols;
    std::vector<double> copy = stored->elements;
    const std::intptr_t address =
        storeMatrix("m_" + std::to_string(++s.temporaryCount), std::move(copy), rows, cols, true);
    if (address == 0) return eError();
    if (suffix != 0) {
        return fail(10, "e_prs",
                    "Case not found. Suffix = " + std::string(1, suffix) + " and mName = " +
                        std::string(name) + "\r\n",
                    0);
    }
    s.lastRows = rows;
    s.lastCols = cols;
    *type = kMatrixType;
    return static_cast<double>(address);
}

int lastMatrixRows() { return matrixExprState().lastRows; }
int lastMatrixCols() { return matrixExprState().lastCols; }

std::intptr_t matrixAddress(double value) {
    // A handle is an address as a signed integer: above 2 GB a 32-bit address
    // is negative. Values outside the range of intptr_t (or of exact doubles)
    // must not reach the conversion.
    const double upper = std::min(9007199254740992.0,
                                  static_cast<double>(std::numeric_limits<std::intptr_t>::max()));
    const double lower = std::max(-9007199254740992.0,
                                  static_cast<double>(std::numeric_limits<std::intptr_t>::min()));
    if (!(value >= lower && value <= upper) || value != std::trunc(value)) return 0;
    return static_cast<std::intptr_t>(value);
}

void resetMatrixExpr() { matrixExprState() = MatrixExprState{}; }

}  // namespace zrt
