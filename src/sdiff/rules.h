// Derivative rules and the two printers over the node table: Df writes the
// derivative of a subtree as fully bracketed text by fixed templates,
// Df_GetFormula copies a subtree as fully bracketed text, Diff_GetFormula
// prints the final derivative with as few brackets as keep its meaning.
#pragma once

#include <cstdint>
#include <string>

namespace zrt {

// The natural logarithm of ten as the log10 rule writes it.
inline constexpr const char* kL10 = "2.302585";

// The derivative of the subtree at node by the variable dVar; "0" for node 0.
// The derivative's nodes, once read back, share the table with the formula's:
// a text that cannot fit raises "Too long formula" and comes back incomplete.
std::string Df(std::int32_t node);

// The tree that reading Df(node) back as a derivative text gives, built
// straight into the node table (same nodes, same limit); 0 with "Too long
// formula" raised when it does not fit.
std::int32_t DfTree(std::int32_t node);

// The subtree at node, fully bracketed; empty for node 0.
std::string Df_GetFormula(std::int32_t node);

// The subtree at node with minimal brackets; empty for node 0.
std::string Diff_GetFormula(std::int32_t node);

}  // namespace zrt
