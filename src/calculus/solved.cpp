#include "calculus/solved.h"

#include <cmath>
#include <string>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "evaluator/preparedformula.h"
#include "memory/varstore.h"
#include "calculus/solvers.h"
#include "sdiff/sdiff.h"
#include "log/trace.h"

namespace zrt {

namespace {

constexpr int kSearchSteps = 200;
constexpr int kNewtonSteps = 20;

// f at x as the solvers evaluate it: the variable stored as the ten-decimal
// text of x, then the formula through e_eval. False when it has no value (a
// matrix cannot arise: the differentiator has already refused "[").
bool valueAt(StoredFormula& formula, std::string_view variable, double x, double& y) {
    SetVarFunct(variable, FixText(x), ListKind::Vars);
    double v = 0;
    const int type = formula.eEval(&v);
    if (type == 1) setEError(ErrorCode::ValueNotDefined);
    if (tracing()) DebugAdd("SolveD: e_error = " + std::to_string(codeNumber(eError())), "SolveD");
    if (type != 0) return false;
    y = v;
    return true;
}

// The formula as the evaluator reads it, for the differentiator: names in
// lower case (X and x are one variable there), "," as the decimal point, and
// the user functions expanded. Otherwise the derivative would belong to
// another formula than the one the Newton steps evaluate.
bool evaluatorReading(std::string_view formula, std::string& text) {
    text = lowerAscii(formula);
    for (char& c : text)
        if (c == ',') c = '.';
    if (varEntries(ListKind::Functs).empty()) return true;
    return ReplaceFuncts(text);
}

}  // namespace

int SolveD(std::string_view formula, std::string_view variableIn, double* root) {
    const std::string_view variable = trimBlanks(variableIn);
    if (!root) {
        failReplacing(ErrorCode::ValueNotDefined, "SolveD", "No address for the root");
        return codeNumber(ErrorCode::ValueNotDefined);
    }
    if (!usableName(variable, "SolveD")) return codeNumber(ErrorCode::InvalidArgument);

    // e_diff callers start with a buffer of ten times the formula's length and
    // call again when the derivative is longer; eDiff hands the whole text back
    // at once.
    std::string reading, derivative;
    if (!evaluatorReading(formula, reading)) return -1;
    eDiff(reading, lowerAscii(variable), derivative);
    if (eError() != ErrorCode::None) return -1;
    if (!stepsFit("SolveD", formula, derivative, kNewtonSteps))
        return codeNumber(ErrorCode::InvalidArgument);

    double x = startValue(formula, variable, kSearchSteps);
    setEError(ErrorCode::None);
    StoredFormula f(formula, variable), fPrime(derivative, variable);
    for (int step = 1; step <= kNewtonSteps; ++step) {
        double y = 0, d = 0;
        if (!valueAt(f, variable, x, y) || !valueAt(fPrime, variable, x, d)) break;
        const double next = d == 0 ? x - y : x - y / d;
        if (!std::isfinite(next)) {
            failReplacing(ErrorCode::ValueNotDefined, "SolveD",
                          "Step " + std::to_string(step) +
                              " leaves the numbers from x = " + shortNumber(x) +
                              " (f = " + shortNumber(y) + ", f' = " + shortNumber(d) + ")");
            break;
        }
        x = next;
        if (tracing())
            DebugAdd("SolveD: step " + std::to_string(step) + ", x = " + shortNumber(x), "SolveD");
    }
    *root = x;
    return codeNumber(eError());
}

}  // namespace zrt
