#include "numerics/eigenproduct.h"

#include <Eigen/Dense>

namespace zrt {

void eigenProduct(const double* a, std::size_t rA, std::size_t cA, const double* b, std::size_t cB,
                  double* c) {
    using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    const auto rows = static_cast<Eigen::Index>(rA), inner = static_cast<Eigen::Index>(cA),
               cols = static_cast<Eigen::Index>(cB);
    RowMajor result(rows, cols);
    result.noalias() =
        Eigen::Map<const RowMajor>(a, rows, inner) * Eigen::Map<const RowMajor>(b, inner, cols);
    Eigen::Map<RowMajor>(c, rows, cols) = result;
}

}  // namespace zrt
