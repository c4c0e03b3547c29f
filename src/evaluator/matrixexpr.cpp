#include "evaluator/matrixexpr.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/limits.h"
#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/lexer.h"
#include "base/numtext.h"
#include "memory/matrixstore.h"
#include "numerics/matrix.h"
#include "numerics/polynomials.h"

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
double failShown(ErrorCode code, const char* proc, const std::string& detail, double value) {
    failReplacing(code, proc, detail);
    showEvalErrorKeeping(detail);
    return value;
}

}  // namespace

namespace matrixexpr_detail {

double divisionByZero(double a) {
    return failShown(ErrorCode::DivisionByZero, "CalcMatrixDivMult",
                     "Calculation error, token = '/'\r\n", a);
}

}  // namespace matrixexpr_detail

namespace {

std::string handleText(double value) {
    return shortNumber(value);
}

std::string sizeText(const MatrixRecord& m) {
    return std::to_string(m.rows) + ", " + std::to_string(m.cols);
}

// The temporary behind a matrix value; null (e_error 14) when the value is no
// matrix of the store.
MatrixRecord* operandRecord(double value, unsigned char type, const char* proc) {
    MatrixRecord* m = type == kMatrixType ? findMatrixByAddress(matrixAddress(value)) : nullptr;
    if (!m)
        failShown(ErrorCode::MatrixNotFound, proc, "Matr Pointer = " + handleText(value) + "\r\n",
                  0);
    return m;
}

// The value of a matrix result: its address, and the size it reports.
double matrixResult(const MatrixRecord& m, unsigned char* type) {
    MatrixExprState& s = matrixExprState();
    s.lastRows = m.rows;
    s.lastCols = m.cols;
    *type = kMatrixType;
    return static_cast<double>(m.address());
}

// A new temporary "m_" + number of this evaluation. The number skips names a
// script gave its own matrices, which must never be overwritten.
MatrixRecord* newTemporary(std::vector<double>&& block, int rows, int cols) {
    MatrixExprState& s = matrixExprState();
    std::string name;
    do {
        name = "m_" + std::to_string(++s.temporaryCount);
    } while (findMatrixByName(name));
    const std::intptr_t address = storeMatrix(name, std::move(block), rows, cols, true);
    return address == 0 ? nullptr : findMatrixByAddress(address);
}

// An operation that needs a square matrix (inverse, power, diagonal form,
// det and trace) refuses any other with code 6, as det and trace do.
bool square(const MatrixRecord& m, const char* proc, const std::string& what) {
    if (m.rows == m.cols) return true;
    failShown(ErrorCode::TokenMismatch, proc,
              what + " needs a square matrix.\r\nDimensions: r1, c1 = " + sizeText(m) + "\r\n", 0);
    return false;
}

constexpr const char* kNotInvertible =
    "Matrix is singolar (det = 0) or not squared. It can not be inverted";

// The matrix library refuses an operation whose work is beyond its bound; its
// own log entry, just before, says how much it would have been.
constexpr const char* kTooMuchWork =
    "The matrix is too large for this operation: it would take far too long";

std::string inversionFailure(MatrixStatus status) {
    return status == MatrixStatus::TooMuchWork ? kTooMuchWork : kNotInvertible;
}

// Inverts a square block in place; the failure code of aInv, or NotSquare.
MatrixStatus invertInPlace(std::vector<double>& block, int rows, int cols) {
    if (rows != cols) return MatrixStatus::NotSquare;
    return aInv(block.data(), rows);
}

}  // namespace

namespace matrixexpr_detail {

double sumSubtMatrix(char op, double a, double b, unsigned char* typeA, unsigned char typeB) {
    constexpr const char* proc = "CalcMatrixSumSubt";
    const double s = op == '-' ? -1 : 1;
    if (*typeA == kMatrixType && typeB == kNumberType) {
        MatrixRecord* m = operandRecord(a, *typeA, proc);
        if (!m) return a;
        aSumScal(m->elements.data(), m->rows, m->cols, s * b);
        return matrixResult(*m, typeA);
    }
    if (*typeA == kNumberType && typeB == kMatrixType) {
        MatrixRecord* m = operandRecord(b, typeB, proc);
        if (!m) return a;
        if (op == '-') {
            for (double& e : m->elements) e = a - e;
        } else {
            aSumScal(m->elements.data(), m->rows, m->cols, a);
        }
        return matrixResult(*m, typeA);
    }
    if (*typeA == kMatrixType && typeB == kMatrixType) {
        MatrixRecord* ma = operandRecord(a, *typeA, proc);
        MatrixRecord* mb = ma ? operandRecord(b, typeB, proc) : nullptr;
        if (!mb) return a;
        if (ma->rows != mb->rows || ma->cols != mb->cols) {
            return failShown(errorCodeOf(MatrixStatus::OrdersNotValid), proc,
                             std::string("If A(r1, c1) ") + op +
                                 " B(r2, c2) must be r1 = r2 and c1 = c2.\r\nr1, c1 = " +
                                 sizeText(*ma) + "\r\nr2, c2 = " + sizeText(*mb) + "\r\n",
                             a);
        }
        double* out = ma->elements.data();
        if (op == '-') {
            aDiff(out, ma->rows, ma->cols, mb->elements.data(), out);
        } else {
            aSum(out, ma->rows, ma->cols, mb->elements.data(), out);
        }
        dropTemporary(mb->address());
        return matrixResult(*ma, typeA);
    }
    return failShown(ErrorCode::ConditionNotFound, proc, typeLines(*typeA, typeB), a);
}

namespace {

double power(double a, double b, unsigned char* typeA, unsigned char typeB) {
    constexpr const char* proc = "CalcMatrixDivMult";
    if (*typeA != kMatrixType || typeB != kNumberType) {
        return failShown(ErrorCode::ConditionNotFound, proc,
                         "The exponent of a matrix power (es. [mA]^n) must be a number.\r\n" +
                             typeLines(*typeA, typeB),
                         a);
    }
    MatrixRecord* m = operandRecord(a, *typeA, proc);
    if (!m) return a;
    if (!(b == std::trunc(b))) {
        return failShown(
            ErrorCode::NotInteger, proc,
            "Exponent of Matrix (es. [mA]^n) is not integer.\r\nExp = " + shortNumber(b), a);
    }
    if (std::fabs(b) > kMaxMatrixPower) {
        return failShown(ErrorCode::InvalidArgument, proc,
                         "Exponent of Matrix (es. [mA]^n) is beyond " +
                             shortNumber(kMaxMatrixPower) + ".\r\nExp = " + shortNumber(b),
                         a);
    }
    if (b < 0) {
        if (!square(*m, proc, "A negative power")) return a;
        const MatrixStatus status = aInv(m->elements.data(), m->rows);
        if (status != MatrixStatus::Ok) {
            return failShown(errorCodeOf(status), proc,
                             inversionFailure(status) + "\r\n\r\nr1, c1 = " + sizeText(*m) + "\r\n",
                             a);
        }
        b = -b;
    }
    if (b > 1) {
        if (!square(*m, proc, "A matrix power")) return a;
        const MatrixStatus status =
            aPow(m->elements.data(), m->rows, static_cast<int>(b), m->elements.data());
        if (status != MatrixStatus::Ok) {
            return failShown(errorCodeOf(status), proc,
                             std::string(kTooMuchWork) + "\r\nExp = " + shortNumber(b) +
                                 "\r\n\r\nr1, c1 = " + sizeText(*m) + "\r\n",
                             a);
        }
    }
    return matrixResult(*m, typeA);
}

double product(double a, double b, unsigned char* typeA, unsigned char typeB) {
    constexpr const char* proc = "CalcMatrixDivMult";
    if ((*typeA == kMatrixType) != (typeB == kMatrixType)) {
        const bool left = *typeA == kMatrixType;
        MatrixRecord* m = left ? operandRecord(a, *typeA, proc) : operandRecord(b, typeB, proc);
        if (!m) return a;
        aProdScal(m->elements.data(), m->rows, m->cols, left ? b : a);
        return matrixResult(*m, typeA);
    }
    if (*typeA != kMatrixType || typeB != kMatrixType)
        return failShown(ErrorCode::ConditionNotFound, proc, typeLines(*typeA, typeB), a);
    MatrixRecord* ma = operandRecord(a, *typeA, proc);
    MatrixRecord* mb = ma ? operandRecord(b, typeB, proc) : nullptr;
    if (!mb) return a;
    if (ma->cols != mb->rows) {
        return failShown(
            errorCodeOf(MatrixStatus::OrdersNotValid), proc,
            "If A(r1, c1) * B(r2, c2) must be c1 = r2.\r\nc1 = " + std::to_string(ma->cols) +
                "\r\nr2 = " + std::to_string(mb->rows) + "\r\n",
            a);
    }
    const std::int64_t elements = std::int64_t{ma->rows} * mb->cols;
    if (elements > kMaxMatrixElements) {
        return failShown(ErrorCode::InvalidArgument, proc,
                         "The product of A(" + sizeText(*ma) + ") and B(" + sizeText(*mb) +
                             ") has " + std::to_string(elements) + " elements, more than the " +
                             std::to_string(kMaxMatrixElements) + " a matrix may have\r\n",
                         a);
    }
    std::vector<double> block(static_cast<std::size_t>(elements));
    if (const MatrixStatus status = aMultEx(ma->elements.data(), ma->rows, ma->cols,
                                            mb->elements.data(), mb->rows, mb->cols, block.data());
        status != MatrixStatus::Ok) {
        return failShown(errorCodeOf(status), proc,
                         std::string(kTooMuchWork) + "\r\nr1, c1 = " + sizeText(*ma) +
                             "\r\nr2, c2 = " + sizeText(*mb) + "\r\n",
                         a);
    }
    const int rows = ma->rows, cols = mb->cols;
    dropTemporary(ma->address());
    dropTemporary(mb->address());
    MatrixRecord* result = newTemporary(std::move(block), rows, cols);
    if (!result) return a;
    return matrixResult(*result, typeA);
}

double quotient(double a, double b, unsigned char* typeA, unsigned char typeB) {
    constexpr const char* proc = "CalcMatrixDivMult";
    if (*typeA == kMatrixType && typeB == kNumberType) {
        MatrixRecord* m = operandRecord(a, *typeA, proc);
        if (!m) return a;
        if (b == 0) {
            return failShown(ErrorCode::DivisionByZero, proc,
                             "Matr Pointer: n2 = " + handleText(a) +
                                 "\r\nCalculation error, token = '" + tokenText(currentToken()) +
                                 "'\r\n",
                             a);
        }
        aProdScal(m->elements.data(), m->rows, m->cols, 1 / b);
        return matrixResult(*m, typeA);
    }
    if (*typeA == kNumberType && typeB == kMatrixType) {
        MatrixRecord* m = operandRecord(b, typeB, proc);
        if (!m) return a;
        std::vector<double> inverse = m->elements;
        const MatrixStatus status = invertInPlace(inverse, m->rows, m->cols);
        if (status != MatrixStatus::Ok) {
            return failShown(errorCodeOf(status), proc,
                             "Matr Pointer n2 = " + handleText(b) + "\r\n" +
                                 inversionFailure(status) + "\r\n\r\nr1, c1 = " + sizeText(*m) +
                                 "\r\n",
                             a);
        }
        aProdScal(inverse.data(), m->rows, m->cols, a);
        std::copy(inverse.begin(), inverse.end(), m->elements.begin());
        return matrixResult(*m, typeA);
    }
    if (*typeA == kMatrixType && typeB == kMatrixType) {
        MatrixRecord* ma = operandRecord(a, *typeA, proc);
        MatrixRecord* mb = ma ? operandRecord(b, typeB, proc) : nullptr;
        if (!mb) return a;
        if (ma->rows != ma->cols || mb->rows != mb->cols || ma->rows != mb->rows) {
            return failShown(
                errorCodeOf(MatrixStatus::OrdersNotValid), proc,
                "If A(r1, c1) * B(r2, c2) must be c1 = r2.\r\nc1 - r2 = " +
                    std::to_string(ma->cols) + " - " + std::to_string(mb->rows) +
                    "\r\nBoth must be square matrices of the same order.\r\nr1, c1 = " +
                    sizeText(*ma) + "\r\nr2, c2 = " + sizeText(*mb) + "\r\n",
                a);
        }
        std::vector<double> inverse = mb->elements;
        const MatrixStatus status = invertInPlace(inverse, mb->rows, mb->cols);
        if (status != MatrixStatus::Ok) {
            return failShown(errorCodeOf(status), proc,
                             "Matrix error, token = '" + tokenText(currentToken()) +
                                 "' and Pointer n2 = " + handleText(b) + "\r\n" +
                                 inversionFailure(status) + "\r\n\r\nr1, c1 = " + sizeText(*ma) +
                                 "\r\nr2, c2 = " + sizeText(*mb) + "\r\n",
                             a);
        }
        if (const MatrixStatus product =
                aMultSq(ma->elements.data(), ma->rows, inverse.data(), ma->elements.data());
            product != MatrixStatus::Ok) {
            return failShown(errorCodeOf(product), proc,
                             std::string(kTooMuchWork) + "\r\nr1, c1 = " + sizeText(*ma) + "\r\n",
                             a);
        }
        dropTemporary(mb->address());
        return matrixResult(*ma, typeA);
    }
    return failShown(ErrorCode::ConditionNotFound, proc,
                     "Case not found. token2 = / and mName = " + currentElement() + "\r\n" +
                         typeLines(*typeA, typeB),
                     a);
}

}  // namespace

double divMultMatrix(char op, double a, double b, unsigned char* typeA, unsigned char typeB) {
    switch (op) {
        case '^':
            return power(a, b, typeA, typeB);
        case '*':
            return product(a, b, typeA, typeB);
        default:
            return quotient(a, b, typeA, typeB);
    }
}

}  // namespace matrixexpr_detail

namespace {

std::string flagText(bool flag) {
    return flag ? "-1" : "0";
}

double determinantOrTrace(std::string_view name, double a, unsigned char typeA) {
    MatrixRecord* m = operandRecord(a, typeA, "CalcMatrFunct");
    if (!m) return 0;
    if (m->rows != m->cols) {
        return failShown(ErrorCode::TokenMismatch, "CalcMatrFunct",
                         "Dimensions: r1, c1 = " + sizeText(*m) + "\r\n", 0);
    }
    double value = 0;
    if (name == "det") {
        if (const MatrixStatus status = aDet(m->elements.data(), m->rows, &value);
            status != MatrixStatus::Ok) {
            return failShown(
                errorCodeOf(status), "CalcMatrFunct",
                std::string(kTooMuchWork) + "\r\nDimensions: r1, c1 = " + sizeText(*m) + "\r\n", 0);
        }
    } else {
        aTrace(m->elements.data(), m->rows, &value);
    }
    dropTemporary(m->address());
    return value;
}

// syst(A; v) and vcoeff(X; y; k): one operand is the matrix, the other the
// vector (either order). The vector must have as many rows as the matrix.
double systemOrFit(std::string_view name, double a, unsigned char typeA, double b,
                   unsigned char typeB, double c, unsigned char* type) {
    constexpr const char* proc = "CalcMatrFunct";
    const bool syst = name == "syst";
    MatrixRecord* ma = operandRecord(a, typeA, proc);
    MatrixRecord* mb = ma ? operandRecord(b, typeB, proc) : nullptr;
    if (!mb) return 0;
    const std::string dimensions = "Dimensions: r1, c1 = " + sizeText(*ma) +
                                   "\r\n            r2, c2 = " + sizeText(*mb) + "\r\n";
    // A linear system needs a square matrix; a least-squares fit takes any
    // matrix with as many rows as the vector.
    const bool squareA = ma->vector || !syst || ma->rows == ma->cols;
    const bool squareB = mb->vector || !syst || mb->rows == mb->cols;
    if (!squareA || !squareB || ma->rows != mb->rows)
        return failShown(errorCodeOf(MatrixStatus::OrdersNotValid), proc, dimensions, 0);
    if (ma->vector == mb->vector) {
        return failShown(ErrorCode::ConditionNotFound, proc,
                         syst ? dimensions
                              : "nnVect = " + flagText(ma->vector) +
                                    "\r\nn2Vect = " + flagText(mb->vector) + "\r\n",
                         0);
    }
    MatrixRecord* matrix = ma->vector ? mb : ma;
    MatrixRecord* vector = ma->vector ? ma : mb;
    const int n = matrix->rows;
    if (syst) {
        const MatrixStatus status =
            aSist(matrix->elements.data(), n, vector->elements.data(), vector->elements.data());
        if (status != MatrixStatus::Ok) {
            return failShown(errorCodeOf(status), proc,
                             std::string(status == MatrixStatus::TooMuchWork
                                             ? kTooMuchWork
                                             : "Matrix is singolar (det = 0): the system has no "
                                               "single solution.") +
                                 "\r\n" + dimensions,
                             0);
        }
        dropTemporary(matrix->address());
        return matrixResult(*vector, type);
    }
    // vcoeff: k coefficients from the first k columns of the matrix.
    if (!(c == std::trunc(c) && c >= 1 && c <= matrix->cols)) {
        return failShown(ErrorCode::InvalidArgument, proc,
                         "The number of coefficients must be a whole number from 1 to " +
                             std::to_string(matrix->cols) + ".\r\nk = " + shortNumber(c) + "\r\n",
                         0);
    }
    const int k = static_cast<int>(c);
    std::vector<double> x(static_cast<std::size_t>(n) * static_cast<std::size_t>(k));
    for (int i = 0; i < n; ++i)
        std::copy_n(matrix->elements.begin() + static_cast<std::ptrdiff_t>(i) * matrix->cols, k,
                    x.begin() + static_cast<std::ptrdiff_t>(i) * k);
    std::vector<double> coefficients(static_cast<std::size_t>(k));
    const MatrixStatus status =
        aCalcVectCoeff(x.data(), n, k, vector->elements.data(), coefficients.data());
    if (status != MatrixStatus::Ok) {
        return failShown(errorCodeOf(status), proc,
                         std::string(status == MatrixStatus::TooMuchWork
                                         ? kTooMuchWork
                                         : "The matrix of the fit (X^T X) can not be inverted.") +
                             "\r\n" + dimensions,
                         0);
    }
    dropTemporary(matrix->address());
    dropTemporary(vector->address());
    MatrixRecord* result = newTemporary(std::move(coefficients), k, 1);
    if (!result) return 0;
    return matrixResult(*result, type);
}

}  // namespace

double CalcMatrFunct(std::string_view name, double a, unsigned char typeA, double b,
                     unsigned char typeB, double c, unsigned char, unsigned char* type) {
    *type = kNumberType;
    if (name == "det" || name == "trace") return determinantOrTrace(name, a, typeA);
    if (name == "syst" || name == "vcoeff") return systemOrFit(name, a, typeA, b, typeB, c, type);
    return failShown(
        ErrorCode::ConditionNotFound, "CalcMatrFunct",
        "Case not found. case (tok2) = " + std::string(name) + "\r\n\r\n" + typeLines(typeA, typeB),
        0);
}

double matrixOperand(std::string_view name, char suffix, unsigned char* type) {
    *type = kNumberType;
    MatrixRecord* stored = findMatrixByName(lowerAscii(trimBlanks(name)));
    if (!stored) {
        failReplacing(ErrorCode::MatrixNotFound, "e_prs", "MatrName = " + std::string(name));
        return codeNumber(ErrorCode::MatrixNotFound);
    }
    // Evaluation works on a copy: stored matrices never change.
    int rows = stored->rows, cols = stored->cols;
    std::vector<double> copy = stored->elements;
    const std::string what = "MatrName = " + std::string(name) + "\r\n";
    switch (suffix) {
        case 'I':
            if (const MatrixStatus status = invertInPlace(copy, rows, cols);
                status != MatrixStatus::Ok) {
                return failShown(errorCodeOf(status), "e_prs",
                                 what + inversionFailure(status) + "\r\n\r\nr1, c1 = " +
                                     std::to_string(rows) + ", " + std::to_string(cols) + "\r\n",
                                 codeNumber(status));
            }
            break;
        case 'T':
            aTrasp(copy.data(), rows, cols);
            std::swap(rows, cols);
            break;
        case 'D':
            if (rows != cols) {
                return failShown(
                    ErrorCode::TokenMismatch, "e_prs",
                    what + "The diagonal form needs a square matrix.\r\nDimensions: r1, c1 = " +
                        std::to_string(rows) + ", " + std::to_string(cols) + "\r\n",
                    codeNumber(ErrorCode::TokenMismatch));
            }
            if (const MatrixStatus status = aDiag(copy.data(), rows); status != MatrixStatus::Ok) {
                return failShown(errorCodeOf(status), "e_prs",
                                 what + kTooMuchWork + "\r\nDimensions: r1, c1 = " +
                                     std::to_string(rows) + ", " + std::to_string(cols) + "\r\n",
                                 codeNumber(status));
            }
            break;
        default:
            break;
    }
    MatrixRecord* temporary = newTemporary(std::move(copy), rows, cols);
    if (!temporary) return codeNumber(eError());
    return matrixResult(*temporary, type);
}

int lastMatrixRows() {
    return matrixExprState().lastRows;
}
int lastMatrixCols() {
    return matrixExprState().lastCols;
}

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

void resetMatrixExpr() {
    matrixExprState() = MatrixExprState{};
}

bool readMatrixElement(std::string_view text, double* value, ErrorCode* error) {
    double v = 0;
    const int code = e_eval(text, &v, 0);
    if (code == 1 && eError() == ErrorCode::None) {
        // A matrix is no element: its temporary goes at once.
        eraseMatrix(matrixAddress(v));
        *error = ErrorCode::WrongStringMatrix;
        return false;
    }
    if (code != 0) {
        *error = eError();
        return false;
    }
    *value = v;
    return true;
}

}  // namespace zrt
