// Products of matrices with a dimension above kLargestAdjugate by Eigen's
// blocked kernels. Smaller products keep the library's sums in order, bit for
// bit as they always were.
#pragma once

#include <cstddef>

namespace zrt {

// c = a b for arrays laid out row after row (a rA x cA, b cA x cB); c may be a
// or b.
void eigenProduct(const double* a, std::size_t rA, std::size_t cA, const double* b, std::size_t cB,
                  double* c);

}  // namespace zrt
