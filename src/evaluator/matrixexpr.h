// Matrices inside formulas: the matrix operand, the arithmetic operators when
// an operand may be a matrix, and the matrix functions. A value record of the
// evaluator is a double and a type byte; for a matrix the double holds the
// address of its element block in the matrix store.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/errors.h"
#include "numerics/power.h"

namespace zrt {

constexpr unsigned char kNumberType = 0;
constexpr unsigned char kMatrixType = 1;

namespace matrixexpr_detail {
double sumSubtMatrix(char op, double a, double b, unsigned char* typeA, unsigned char typeB);
double divMultMatrix(char op, double a, double b, unsigned char* typeA, unsigned char typeB);
double divisionByZero(double a);
}  // namespace matrixexpr_detail

// "+" and "-": numbers add or subtract here; a matrix operand goes to the
// matrix arithmetic. The result type is written through typeA.
inline double CalcMatrixSumSubt(char op, double a, double b, unsigned char* typeA,
                                unsigned char typeB) {
    if ((*typeA | typeB) == kNumberType) return op == '-' ? a - b : a + b;
    return matrixexpr_detail::sumSubtMatrix(op, a, b, typeA, typeB);
}

// "^", "*" and "/". A zero divisor of two numbers sets e_error 8 and gives a.
inline double CalcMatrixDivMult(char op, double a, double b, unsigned char* typeA,
                                unsigned char typeB) {
    if ((*typeA | typeB) == kNumberType) {
        switch (op) {
            case '^': return powerOf(a, b);
            case '*': return a * b;
            default: return b == 0 ? matrixexpr_detail::divisionByZero(a) : a / b;
        }
    }
    return matrixexpr_detail::divMultMatrix(op, a, b, typeA, typeB);
}

// det, trace, syst, vcoeff on their arguments (value and type of each).
double CalcMatrFunct(std::string_view name, double a, unsigned char typeA, double b,
                     unsigned char typeB, double c, unsigned char typeC, unsigned char* type);

// A bracketed matrix name of a formula (as written) with its suffix ('I',
// 'T', 'D' or 0): a temporary copy of the stored matrix. Unknown name: e_error
// 14, the value is the code.
double matrixOperand(std::string_view name, char suffix, unsigned char* type);

// Size of the most recent matrix result.
int lastMatrixRows();
int lastMatrixCols();

// The store address a matrix value stands for (0 when it is none).
std::intptr_t matrixAddress(double value);

void resetMatrixExpr();

// SetStrMatrix's reader of evaluated elements: each element text is a formula
// that must give a number (a matrix gives 11).
bool readMatrixElement(std::string_view text, double* value, ErrorCode* error);

}  // namespace zrt
