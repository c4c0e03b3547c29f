// Reads a text into the differentiator's node table as e_diff does.
#pragma once

#include <string>

#include "evaluator/errors.h"
#include "sdiff/tree.h"

namespace sdiff_test {

// The root of text read as a formula (or, with derivative set, as a
// derivative text), after a fresh start of the node table.
inline std::int32_t readTree(const std::string& text, bool derivative = false) {
    zrt::DiffState& s = zrt::diffState();
    s.Index = 0;
    s.tableFull = false;
    s.derivativeText = derivative;
    zrt::resetReader();
    zrt::setEError(-1);
    const std::int32_t root = zrt::GetTreeExpr(text);
    s.derivativeText = false;
    return root;
}

// "error N" with the code the reader stored, "bc N" for unbalanced brackets.
inline std::string readOutcome(std::int32_t root, std::string (*print)(std::int32_t)) {
    const zrt::DiffState& s = zrt::diffState();
    if (s.diffErr) return "error " + std::to_string(zrt::eError());
    if (s.bc != 0) return "bc " + std::to_string(s.bc);
    return print(root);
}

}  // namespace sdiff_test
