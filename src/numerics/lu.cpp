#include "numerics/lu.h"

#include <Eigen/Dense>
#include <cmath>
#include <vector>

#include "numerics/elimination.h"
#include "numerics/matrix.h"

namespace zrt {

namespace {

using ColumnMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic>;

// The LU of the transpose of a (a row after row), or false when a pivot is
// within its row's bound.
bool factorize(const double* a, std::size_t n, Eigen::PartialPivLU<ColumnMajor>& lu) {
    const Eigen::Index order = static_cast<Eigen::Index>(n);
    lu.compute(Eigen::Map<const ColumnMajor>(a, order, order));
    std::vector<double> bounds(n);
    rowTolerances(a, n, n, n, n, bounds.data());
    const auto& u = lu.matrixLU();
    for (std::size_t k = 0; k < n; ++k) {
        const Eigen::Index i = static_cast<Eigen::Index>(k);
        if (std::fabs(u(i, i)) <= bounds[k]) return false;
    }
    return true;
}

}  // namespace

MatrixStatus luInverse(double* a, std::size_t n) {
    Eigen::PartialPivLU<ColumnMajor> lu;
    if (!factorize(a, n, lu)) return MatrixStatus::Singular;
    // The inverse of the transpose, column after column, is the inverse row
    // after row.
    const Eigen::Index order = static_cast<Eigen::Index>(n);
    Eigen::Map<ColumnMajor>(a, order, order) = lu.inverse();
    return MatrixStatus::Ok;
}

MatrixStatus luSolve(const double* a, std::size_t n, const double* v, double* w) {
    Eigen::PartialPivLU<ColumnMajor> lu;
    if (!factorize(a, n, lu)) return MatrixStatus::Singular;
    const Eigen::Index order = static_cast<Eigen::Index>(n);
    const Eigen::VectorXd x =
        lu.transpose().solve(Eigen::Map<const Eigen::VectorXd>(v, order));
    Eigen::Map<Eigen::VectorXd>(w, order) = x;
    return MatrixStatus::Ok;
}

}  // namespace zrt
