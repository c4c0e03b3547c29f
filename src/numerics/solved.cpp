#include "numerics/solved.h"

#include <cmath>
#include <limits>
#include <string>

#include "evaluator/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/numtext.h"
#include "memory/varstore.h"
#include "sdiff/sdiff.h"
#include "ui/trace.h"

namespace zrt {

namespace {

constexpr int kSearchSteps = 200;
constexpr double kNearEnough = 3;  // |f| at which the walk stops
constexpr int kNewtonSteps = 20;

// f at x as the solvers evaluate it: the variable stored as the ten-decimal
// text of x, then the formula through e_eval. False when it has no value (a
// matrix cannot arise: the differentiator has already refused "[").
bool valueAt(std::string_view formula, std::string_view variable, double x, double& y) {
    SetVarFunct(variable, FixText(x), ListKind::Vars);
    double v = 0;
    const int type = e_eval(formula, &v, 0);
    if (type == 1) setEError(5);
    if (tracing()) DebugAdd("SolveD: e_error = " + std::to_string(eError()), "SolveD");
    if (type != 0) return false;
    y = v;
    return true;
}

// |f(x)| for the start-value walk: a point without a value is as far from a
// root as can be, so the walk moves away from it.
double distanceAt(std::string_view formula, std::string_view variable, double x) {
    double y = 0;
    if (!valueAt(formula, variable, x, y) || std::isnan(y))
        return std::numeric_limits<double>::infinity();
    return std::fabs(y);
}

double startValue(std::string_view formula, std::string_view variable) {
    double x = 0;
    for (int i = 0; i < kSearchSteps; ++i) {
        const double here = distanceAt(formula, variable, x);
        if (here <= kNearEnough) break;
        const double next = distanceAt(formula, variable, x + 1);
        if (next <= kNearEnough) {
            x += 1;
            break;
        }
        if (next < here) {
            x += 1;
        } else if (next > here) {
            x -= 1;
        }
    }
    return x == 0 ? 1 : x;
}

bool isName(std::string_view name) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
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

double solveDStartValue(std::string_view formula, std::string_view variable) {
    return startValue(formula, trimBlanks(variable));
}

int SolveD(std::string_view formula, std::string_view variableIn, double* root) {
    const std::string_view variable = trimBlanks(variableIn);
    if (!root) {
        setEError(5);
        logError("SolveD", 0, "No address for the root");
        return 5;
    }
    if (!isName(variable)) {
        setEError(13);
        logError("SolveD", 0, "The variable must be a name: '" + std::string(variable) + "'");
        return 13;
    }

    // e_diff callers start with a buffer of ten times the formula's length and
    // call again when the derivative is longer; eDiff hands the whole text back
    // at once.
    std::string reading, derivative;
    if (!evaluatorReading(formula, reading)) return -1;
    eDiff(reading, lowerAscii(variable), derivative);
    if (eError() != kNoError) return -1;

    double x = startValue(formula, variable);
    setEError(kNoError);
    for (int step = 1; step <= kNewtonSteps; ++step) {
        double y = 0, d = 0;
        if (!valueAt(formula, variable, x, y) || !valueAt(derivative, variable, x, d)) break;
        const double next = d == 0 ? x - y : x - y / d;
        if (!std::isfinite(next)) {
            setEError(5);
            logError("SolveD", 0,
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
    return eError();
}

}  // namespace zrt
