// Definite integrals of a formula of one variable by one of three fixed-step
// rules. The integrand is evaluated point by point by the evaluator, after
// the variable's name has been replaced in the formula by the point's text.
#pragma once

#include <string_view>

#include "base/limits.h"

namespace zrt {

enum IntegrationMethod { kMidpoint = 0, kTrapezoidal = 1, kSimpson = 2 };

constexpr const char* kNoResultAddress = "Input parameter error: Returned Value not defined";
constexpr const char* kSimpsonNeedsEvenN =
    "Simpson's Rule requires that number of subintervals N be even.";

// Integrate: the integral of `formula` over [a, b] with n subintervals into
// *result. Returns 0 (the evaluator's "number") when every point had a value;
// otherwise the code, also in e_error, and *result is not written: 5 no result
// address, 19 unknown method (*result = 0), 13 n below 1 or above
// kMaxSubintervals, or a formula whose points' texts could grow beyond
// kMaxPreparedFormula, or n + 1 evaluations beyond kMaxEvaluatedText, 22
// Simpson with odd n, the evaluator's code of the first point without a value
// (10 for a point whose value is a matrix). Shows nothing: a caller that
// wants message boxes for 5 and 22 shows them with the texts above.
int Integrate(std::string_view formula, double a, double b, int n, int method,
              std::string_view variable, double* result);

// dIntegrate: the same integral as a value; 0 when it fails (e_error says why).
double dIntegrate(std::string_view formula, double a, double b, int n, int method,
                  std::string_view variable);

}  // namespace zrt
