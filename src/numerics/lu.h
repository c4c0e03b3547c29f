// Inverses and linear systems of large orders by LU with partial pivoting
// (Eigen). Orders up to kLargestAdjugate keep the adjugate and Cramer's rule.
//
// The library's arrays lie row after row; read column after column they are
// the transpose. Eigen's LU of that transpose pivots on the rows of the
// transpose, that is on the columns of each row of the matrix, as the
// library's elimination does, and its k-th pivot is what is left of row k. A
// pivot within its row's rounding noise (the singularity bound of
// numerics/elimination.h) makes the matrix singular.
#pragma once

#include <cstddef>

#include "base/errors.h"

namespace zrt {

constexpr std::size_t kLargestAdjugate = 10;

// a (n x n) replaced by its inverse: MatrixStatus::Ok, or MatrixStatus::Singular with a unchanged.
MatrixStatus luInverse(double* a, std::size_t n);

// w = the solution of a x = v (w may be v): MatrixStatus::Ok, or MatrixStatus::Singular with w
// unchanged.
MatrixStatus luSolve(const double* a, std::size_t n, const double* v, double* w);

}  // namespace zrt
