// The simplifier: one bottom-up pass over a derivative tree that drops neutral
// elements, annihilates products with 0 and folds operations on numbers.
#pragma once

#include <cstdint>

namespace zrt {

// Diff_Simplify: the node that now stands for the subtree at node (the node
// itself, changed in place, or one of its children); 0 for node 0. A division
// by the number 0 raises "Division by zero." (e_error 8) and stays as it is.
std::int32_t Diff_Simplify(std::int32_t node);

}  // namespace zrt
