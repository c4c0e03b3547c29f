// The matrix library ("aMatr"): determinant, inverse, linear systems, products,
// powers, transposes and predicates over plain arrays of doubles.
//
// These functions work on library-owned arrays that lie ROW AFTER ROW; they
// never convert from or to the host's element order. The evaluator's matrix
// expressions, the polynomial fitting and every other caller inside the library
// use them on their own temporaries. Only the exported `a...` functions (in
// api/exports_matrix.cpp) read host arrays in the host's element order and
// convert them.
//
// Every function works on private copies, so a result array may be the same as
// an input array. Dimensions and pointers are checked before any element is
// read: a null array gives MatrixStatus::NotDefined (15), an order, row or
// column count below 1, or a matrix of more than kMaxMatrixElements elements,
// gives MatrixStatus::OrdersNotValid (5). These functions never touch the
// matrix status; the exports record it.
#pragma once

#include <cstdint>

#include "base/errors.h"
#include "base/limits.h"

namespace zrt {

// The library's matrix status `matrStatus` (-1 at load).
MatrixStatus matrStatus();
void setMatrStatus(MatrixStatus status);
void resetMatrix();

// Checks one matrix argument: NotDefined for a null array, then OrdersNotValid
// for rows or cols below 1 or too many elements; else Ok.
MatrixStatus checkMatrix(const void* elements, int rows, int cols);

// ---- Determinant, inverse, systems, diagonal form ----

// Determinant of the n x n matrix a: exact products up to order 3; from order 4
// elimination with column pivoting, where a pivot within its row's rounding
// noise (n * machine epsilon * the row's largest magnitude) counts as 0 and
// makes the determinant 0.
MatrixStatus aDet(const double* a, int n, double* det);
double aDetN(const double* a, int n);  // 0 when a or n is not valid

// Inverse in place: by the adjugate up to order 10, MatrixStatus::Singular (a
// unchanged) when the determinant is exactly 0; from order 11 by LU with
// partial pivoting (numerics/lu.h), MatrixStatus::Singular when a pivot is within its
// row's singularity bound.
MatrixStatus aInv(double* a, int n);

// Solves a x = v: x into w (n values). Up to order 10 by Cramer's rule,
// MatrixStatus::Singular when the determinant is exactly 0 (w unchanged); from order
// 11 by LU as aInv.
MatrixStatus aSist(const double* a, int n, const double* v, double* w);

// Reduces a in place to the diagonal of its elimination pivots (column
// pivoting, any non-zero pivot accepted), every other element 0.
MatrixStatus aDiag(double* a, int n);

// ---- Products and powers ----

// c = a b (rA x cB); MatrixStatus::WrongRank when cA differs from rB (c unchanged).
// Up to 10 in every dimension each element is the sum in order over the inner
// index; larger products (and powers, vectors) go by Eigen's kernels, whose
// sums may differ in the last bits between 32-bit and 64-bit builds.
MatrixStatus aMultEx(const double* a, int rA, int cA, const double* b, int rB, int cB, double* c);
MatrixStatus aMultSq(const double* a, int n, const double* b, double* c);
// w = a v, v of c values, w of r values.
MatrixStatus aMultVect(const double* a, int r, int c, const double* v, double* w);
MatrixStatus aMultVectSq(const double* a, int n, const double* v, double* w);

// c = a^m for m >= 2 (m - 1 products, c = c a each time); m = 1 copies a,
// m = 0 gives the unit matrix; a negative m is MatrixStatus::InvalidParameter (c
// unchanged). (A formula's [mA]^0 and [mA]^1 keep the matrix as it is and need
// no call; a negative power is the inverse raised to -m.)
MatrixStatus aPow(const double* a, int n, int m, double* c);

// c = a b^-1; when b cannot be inverted, the inversion's status and c unchanged.
MatrixStatus aDiv(const double* a, int n, const double* b, double* c);

// ---- Element-wise operations ----

MatrixStatus aSum(const double* a, int r, int c, const double* b, double* out);
MatrixStatus aDiff(const double* a, int r, int c, const double* b, double* out);
MatrixStatus aSumScal(double* a, int r, int c, double k);
MatrixStatus aProdScal(double* a, int r, int c, double k);
MatrixStatus aOpp(double* a, int r, int c);

// ---- Trace, transposes, exchanges, modulus ----

MatrixStatus aTrace(const double* a, int n, double* trace);
double aTraceN(const double* a, int n);  // 0 when a or n is not valid
// In place: a (r x c) becomes its c x r transpose.
MatrixStatus aTrasp(double* a, int r, int c);
MatrixStatus aTraspEx(const double* a, int r, int c, double* out);
MatrixStatus aTraspSq(double* a, int n);
// Exchanges the r*c values of a and b.
MatrixStatus aSwap(double* a, int r, int c, double* b);
// kind != 0 exchanges rows i and j, kind 0 columns i and j, counted from 1;
// MatrixStatus::WrongSwap when a number is below 1 or beyond the rows (columns).
MatrixStatus aSwapRC(double* a, int r, int c, int kind, int i, int j);
// Square root of the sum of the squares of the n values.
MatrixStatus aMatrMod(const double* v, int n, double* result);

// ---- Predicates: true or false; an invalid argument counts as false ----

bool aMatrIsZero(const double* a, int n);
bool aMatrIsUnit(const double* a, int n);
bool aMatrIsSing(const double* a, int n);
// The transpose equals the adjugate inverse, element for element (-0 and +0
// count as equal). inversionStatus, when given, receives the inversion's status.
bool aMatrIsOrtog(const double* a, int n, MatrixStatus* inversionStatus = nullptr);
// a b is exactly the unit matrix.
bool aMatrAreOrtog(const double* a, int n, const double* b);
// Same dimensions and the same bytes in every element.
bool aMatrAreEquals(const double* a, int rA, int cA, const double* b, int rB, int cB);

}  // namespace zrt
