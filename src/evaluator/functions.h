// The evaluator's built-in vocabulary: one-argument functions computed in
// single precision, the "#" constants, and the named constants.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zrt {

// e_function: the built-in function (or "#" constant) `name` (lower case) at x.
// Sets e_error to -1, or to 4 for an unknown name (result 0), or to 13 for a
// domain error (the computed value is still returned).
double e_function(std::string_view name, double x);

// Whether `name` (lower case) is a built-in function name; computes nothing.
bool isBuiltinFunction(std::string_view name);

// The evaluator's fast path: the number of a built-in function (-1 for none),
// and e_function called by that number (same results, codes and log entries).
int functionIndex(std::string_view name);
double e_functionAt(int index, double x);

// The function by number at x without reporting anything: false for an
// unknown number or an argument outside the domain (where e_functionAt sets
// 13), else the same value as e_functionAt.
bool functionValue(int index, double x, double& value);

// functionValue over v[0..n) in place: how many leading arguments have a
// value (from the first one outside the domain on, v holds nothing useful).
std::size_t functionValues(int index, double* v, std::size_t n);

// Whether the function by that number draws from the random generator.
bool isRandomFunction(int index);

// Every built-in function name with its number.
struct BuiltinName {
    std::string_view name;
    int index;
};
std::vector<BuiltinName> builtinFunctionNames();

// e_get_const: constants pi, 2pi, e, deg/to_deg, rad/to_rad (with or without
// "#"); the name is lower-cased but not trimmed. Found: e_error -1, *value (when
// given) = the value of the constant's ten-decimal text, *text (when given) =
// that text; returns 1. Not found: e_error 18, returns 0.
int e_get_const(std::string_view name, double* value, std::string* text = nullptr);
// The names e_get_const knows (without "#").
std::vector<std::string_view> constantNames();

// The generator behind rnd(): seeded from the system at load; tests may fix it.
void seedRandom(std::uint64_t seed);

void resetFunctions();

}  // namespace zrt
