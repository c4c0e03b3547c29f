// Symbolic differentiation: the entry that derives a formula text by a named
// variable, its error byte, its trace and the help text of operators and
// functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zrt {

// e_diff without the caller's buffer: the simplified derivative of formula by
// variable (names compare case-sensitively). Returns the length of the result,
// or 0 on error with e_error set (7 empty formula, 6 error in formula, 8
// division by zero while simplifying). `result` is the derivative text, also
// after a division by zero; empty after the other errors.
int eDiff(std::string_view formula, std::string_view variable, std::string& result);

// GetLast_diffErr: 0 after success, 7 after an empty formula, 1 after any
// other error.
std::uint8_t GetLast_diffErr();

// SetDiffLogF: trace mode 0 off, 1 append lines to the file (empty name:
// "Derive.Log", created empty on first use), 2 a message box per line, 3 count
// only. Returns the mode now in force.
std::uint8_t SetDiffLogF(std::uint8_t mode, std::string_view file);

// DiffTrace: one trace line of the differentiator under label.
void DiffTrace(std::string_view label, std::string_view text);

// Whether trace lines are wanted (callers skip building them otherwise).
bool diffTracing();

// GetDiff_OperAndFuncs: the help text of constants, operators and functions.
std::string diffOperAndFuncs();

}  // namespace zrt
