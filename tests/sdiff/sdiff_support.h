// Reads a text into the differentiator's node table as e_diff does.
#pragma once

#include <random>
#include <string>

#include "base/errors.h"
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
    zrt::setEError(zrt::ErrorCode::None);
    const std::int32_t root = zrt::GetTreeExpr(text);
    s.derivativeText = false;
    return root;
}

// "error N" with the code the reader stored, "bc N" for unbalanced brackets.
inline std::string readOutcome(std::int32_t root, std::string (*print)(std::int32_t)) {
    const zrt::DiffState& s = zrt::diffState();
    if (s.diffErr) return "error " + std::to_string(zrt::codeNumber(zrt::eError()));
    if (s.bc != 0) return "bc " + std::to_string(s.bc);
    return print(root);
}

// Formulas of every shape the reader takes, from a fixed seed.
inline std::string randomFormula(std::mt19937& rng, int depth) {
    static const char* leaves[] = {"x", "x", "y", "2", "0.5", "1e2", "0", "1", "-3"};
    static const char* exponents[] = {"2", "3", "0.5", "(-2)", "n", "x", "1", "0", "1.5e1"};
    static const char* functions[] = {
        "cos",    "sin",      "tg",   "tan",       "ctg", "cotan",  "abs",    "sgn",   "sign",
        "sqrt",   "sqr",      "ln",   "log",       "exp", "arcsin", "arccos", "arctg", "arctan",
        "arcctg", "arccotan", "sh",   "sinh",      "ch",  "cosh",   "th",     "tanh",  "tgh",
        "cth",    "cotanh",   "ctgh", "heaviside", "h",   "log10"};
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    if (depth == 0) {
        const std::string leaf = leaves[pick(9)];
        return leaf[0] == '-' ? "(" + leaf + ")" : leaf;
    }
    const std::string a = randomFormula(rng, depth - 1);
    switch (pick(8)) {
        case 0:
            return a + "+" + randomFormula(rng, depth - 1);
        case 1:
            return a + "-(" + randomFormula(rng, depth - 1) + ")";
        case 2:
            return "(" + a + ")*(" + randomFormula(rng, depth - 1) + ")";
        case 3:
            return "(" + a + ")/(" + randomFormula(rng, depth - 1) + ")";
        case 4:
            return "(" + a + ")^" + exponents[pick(9)];
        case 5:
            return "(-(" + a + "))";
        default:
            return std::string(functions[pick(33)]) + "(" + a + ")";
    }
}

}  // namespace sdiff_test
