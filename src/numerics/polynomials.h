// Polynomial helpers: the derivative of a polynomial written as text, the value
// of a polynomial from its coefficients, the roots of a quadratic for a given
// value, least-squares fitting and linear interpolation.
//
// Coefficient vectors hold ascending powers: c0 + c1 x + c2 x^2 + ... Matrices
// lie row after row (numerics/matrix.h); the exports convert host arrays. Like
// the matrix library these functions return matrix status codes and leave
// the matrix status to the exports.
#pragma once

#include <string>
#include <string_view>

#include "base/errors.h"

namespace zrt {

// Poly_dydx: the derivative of a polynomial text by the variable, term by term
// in whole-number arithmetic ("3x^4-2x+5" by x gives "12*x^3 - 2 + ").
std::string Poly_dydx(std::string_view polynomial, std::string_view variable);

// c0 + c1 x + ... + c(n-1) x^(n-1); 0 for n < 1.
double polynomialValue(double x, const double* c, int n);

// The status of aGetXsOfQuadr that leaves the matrix status as it is.
constexpr MatrixStatus kStatusUnchanged = static_cast<MatrixStatus>(-1000);

// aGetXsOfQuadr: the x with c(x) = y for n = 1, 2, 3 coefficients. Writes both
// results (0 when there are none). Returns -1, 13 (no solution), or
// kStatusUnchanged where the status keeps its value.
MatrixStatus aGetXsOfQuadr(double y, const double* c, int n, double* x1, double* x2);

// aCalcVectCoeff: least squares a = (X^T X)^-1 X^T y for the r x c matrix X
// and the r values of y; c values into a. Returns -1, the inversion's status
// (7 when X^T X is singular), or 5 / 15 for unusable arguments.
MatrixStatus aCalcVectCoeff(const double* x, int r, int c, const double* y, double* a);

// aCalcCoeffPolin: the k coefficients of the least-squares polynomial through
// the m points of the m x 2 table p (x, y per row). 12 when k < 1 or k > m.
MatrixStatus aCalcCoeffPolin(const double* p, int m, int k, double* a);

// InterpLin: y0 + (x - x0) / (x1 - x0) (y1 - y0).
double InterpLin(double x, double x0, double x1, double y0, double y1);

}  // namespace zrt
