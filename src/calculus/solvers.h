// Roots of f(x) = 0 for a formula of one variable: a start value found by a
// walk over whole numbers, then Newton steps with the derivative of the
// polynomial differentiator. The variable is set in the variable store to the
// ten-decimal text of each x tried; it keeps the last one.
#pragma once

#include <string>
#include <string_view>

#include "base/limits.h"

namespace zrt {

// Only a name the evaluator can read back (a letter or "_", then letters,
// digits and "_") can carry x into the formula; otherwise e_error 13 and a
// log entry under `proc`.
bool usableName(std::string_view name, const char* proc);

// Whether a walk of `limit` steps (two evaluations each) stays within
// kMaxEvaluatedText; else e_error 13 and a log entry under `proc`.
bool walkFits(const char* proc, std::string_view formula, int limit);

// Whether the walk of 200 steps and `steps` Newton steps (the formula and the
// derivative once each) stay within kMaxEvaluatedText; else as walkFits.
bool stepsFit(const char* proc, std::string_view formula, std::string_view derivative, int steps);

// The start-value walk: at most `limit` steps from 0 by whole numbers until
// |f| <= 3; 0 becomes 1. A point without a value counts as infinitely far from
// a root: the walk moves away from it.
double startValue(std::string_view formula, std::string_view variable, int limit);

// The solvers below refuse (e_error 13) a formula whose walk and steps would
// read more than kMaxEvaluatedText characters of formula text.

// NewtSolve: the start value (200 steps) into *start; returns e_error. A null
// address gives 5, a variable name that is no name 13.
int NewtSolve(std::string_view formula, std::string_view variable, double* start);

// dPolySolve: the start value (200 steps); 0 when the variable is no name.
double dPolySolve(std::string_view formula, std::string_view variable);

// sPolyNewt: the start value as ten-decimal text, the formula evaluated by
// de_eval. Empty (e_error 13) for a limit above kMaxSolverSteps or a variable
// that is no name.
std::string sPolyNewt(std::string_view formula, std::string_view variable, int limit);

// dSolve: the start value and exactly 20 Newton steps (a plain step x - f(x)
// where the derivative is 0). A point without a value ends the steps there
// with its code in e_error.
double dSolve(std::string_view formula, std::string_view variable);

// sSolve: sPolyNewt's start value and `steps` Newton steps carried as
// ten-decimal texts; 0 or fewer steps give the start value. Empty (e_error 13)
// for more than kMaxSolverSteps steps.
std::string sSolve(std::string_view formula, std::string_view variable, int steps);

}  // namespace zrt
