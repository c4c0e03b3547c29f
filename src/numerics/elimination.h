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

// The singularity test is relative to each row's own scale: from order 4 a
// pivot of row r (and the last element, which is the last pivot) counts as 0
// when its magnitude is at most order * machine epsilon * the largest finite
// magnitude in row r of the matrix as given. The elimination pivots on the
// columns of a row, so every update of row r is at most its own elements'
// magnitude: what is left of the row below that bound is rounding noise.
// Scaling a row scales the determinant and changes no decision.
//
// out[r] = that bound for each of the `rows` rows of `cols` elements at a
// (row stride `stride`), for a matrix of the given order.
void rowTolerances(const double* a, std::size_t rows, std::size_t cols, std::size_t stride,
                   std::size_t order, double* out);

// Eliminates the n x n matrix m (row after row) in place, pivoting on the
// columns of row k: the column with the largest magnitude in row k (the first
// one on a tie) is exchanged into place. A pivot whose magnitude is not above
// tolerances[k] (0 when tolerances is null) is skipped and makes the factor 0.
// Only elements right of and below each pivot are updated (columns are
// exchanged in rows k and below). Returns d times the product of the pivots
// with the sign of the exchanges.
double eliminate(double* m, std::size_t n, const double* tolerances, double d = 1);

// Determinant of the n x n matrix m (n >= 1): exact products up to order 3,
// elimination from order 4 with the tolerances of m's own rows; m is used as
// scratch.
double determinantInPlace(double* m, std::size_t n);

// The elimination's determinant of m (n >= 2) with the tolerances given for
// its rows (the exact products are not used); m is used as scratch.
double eliminatedDeterminant(double* m, std::size_t n, const double* tolerances);

// out[i * n + j] = determinant of a (n x n, n >= 2) without row i and column j.
// From order 4 each row keeps the tolerance of its row in a (order n).
void minorDeterminants(const double* a, std::size_t n, double* out);

// out[i] = determinant of a (n x n) with column i replaced by v. From order 4
// each row's tolerance is that of the row of a with v's element beside it.
void replacedColumnDeterminants(const double* a, std::size_t n, const double* v, double* out);

}  // namespace zrt
