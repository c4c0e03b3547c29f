// SolveD: a root of an equation f(x) = 0 in one variable by Newton steps with
// the symbolic derivative of the formula.
#pragma once

#include <string_view>

namespace zrt {

// SolveD: derives the formula by the variable, then takes 20 Newton steps from
// the start value of the solvers' walk (200 steps) (a plain step x - f(x) where the derivative is 0), writes the
// last x to *root and returns the last-error code: -1 when every evaluation
// succeeded. Returns -1 without writing when the differentiation fails (the
// differentiator's code is then in e_error); 5 without writing for a null
// address; 13 for a variable that is no name, and 13 without writing when the
// walk and the steps would read more than kMaxEvaluatedText characters of
// formula text. An evaluation that fails ends the steps at the x where it
// failed, with its code; a step that would leave the finite numbers ends them
// before it, with code 5.
int SolveD(std::string_view formula, std::string_view variable, double* root);

}  // namespace zrt
