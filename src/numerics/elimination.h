// Gaussian elimination with column pivoting, the one computation behind the
// determinant, the adjugate inverse, Cramer's rule and the diagonal form.
//
// Every determinant of order 4 or more is the product of the elimination's
// pivots (with the sign of the column exchanges) and its last element. The
// inverse needs the n^2 minors of a matrix and the system solver the n
// matrices with one column replaced: those share most of their elimination
// (the same rows and columns, pivoted the same way, for a number of steps),
// and the functions below do the shared steps once. Each result is still the
// very same sequence of floating-point operations as eliminating that matrix on
// its own, so the results do not depend on the sharing.
#pragma once

#include <cstddef>

namespace zrt {

// From order 4 the determinant treats pivots and results of this magnitude or
// less (results: below it) as 0.
constexpr double kDetTolerance = 1e-12;

// Eliminates the n x n matrix m (row after row) in place, pivoting on the
// columns of row k: the column with the largest magnitude in row k (the first
// one on a tie) is exchanged into place. A pivot whose magnitude is not above
// `tolerance` is skipped and makes the factor 0. Only elements right of and
// below each pivot are updated (columns are exchanged in rows k and below).
// Returns d times the product of the pivots with the sign of the exchanges.
double eliminate(double* m, std::size_t n, double tolerance, double d = 1);

// Determinant of the n x n matrix m (n >= 1): exact products up to order 3,
// elimination from order 4; m is used as scratch.
double determinantInPlace(double* m, std::size_t n);

// out[i * n + j] = determinant of a (n x n, n >= 2) without row i and column j.
void minorDeterminants(const double* a, std::size_t n, double* out);

// out[i] = determinant of a (n x n) with column i replaced by v.
void replacedColumnDeterminants(const double* a, std::size_t n, const double* v, double* out);

}  // namespace zrt
