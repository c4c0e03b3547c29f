#include "calculus/solvers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/letters.h"
#include "base/numtext.h"
#include "evaluator/preparedformula.h"
#include "memory/varstore.h"
#include "numerics/polynomials.h"
#include "log/trace.h"

namespace zrt {

namespace {

constexpr int kSearchSteps = 200;
constexpr int kNewtonSteps = 20;

}  // namespace

bool usableName(std::string_view name, const char* proc) {
    const bool ok = isName(trimBlanks(name));
    if (!ok) {
        failReplacing(ErrorCode::InvalidArgument, proc,
                      "Variable = '" + std::string(name) +
                          "': a variable name is a letter or _ followed by letters, digits and _");
    }
    return ok;
}

namespace {

// The formula at x: the variable set to x's ten-decimal text, then the value
// by e_eval, or by de_eval for the text solvers. False (e_error set) when the
// point has no value; a matrix result counts as none (ConditionNotFound).
bool valueAt(StoredFormula& formula, std::string_view variable, const std::string& xText,
             bool text, double* y) {
    SetVarFunct(variable, xText, ListKind::Vars);
    bool ok;
    if (text) {
        const double v = formula.deEval();
        ok = eError() == ErrorCode::None;
        if (ok && GetResultType() == 1) {
            setEError(ErrorCode::ConditionNotFound);
            ok = false;
        }
        if (ok) *y = v;
    } else {
        double v = 0;
        const int code = formula.eEval(&v);
        if (code == 1 && eError() == ErrorCode::None) setEError(ErrorCode::ConditionNotFound);
        ok = code == 0;
        if (ok) *y = v;
    }
    if (tracing())
        DebugAdd("x = " + xText + ", e_error = " + std::to_string(codeNumber(eError())), "Solver");
    return ok;
}

// |f(x)| for the start-value walk: a point without a value is as far from a
// root as can be, so the walk moves away from it and never stops there.
double distanceAt(StoredFormula& formula, std::string_view variable, double x, bool text) {
    double y = 0;
    if (!valueAt(formula, variable, FixText(x), text, &y) || std::isnan(y))
        return std::numeric_limits<double>::infinity();
    return std::fabs(y);
}

double search(std::string_view formulaText, std::string_view variable, int limit, bool text) {
    StoredFormula formula(formulaText, variable);
    double x = 0;
    for (int k = 0; k < limit; ++k) {
        const double here = distanceAt(formula, variable, x, text);
        if (here <= 3) break;
        const double next = distanceAt(formula, variable, x + 1, text);
        if (next <= 3) {
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

// The derivative as a formula: the differentiator leaves a " + " behind a
// constant last term, which is no part of a formula.
std::string derivativeFormula(std::string_view formula, std::string_view variable) {
    std::string d = Poly_dydx(formula, variable);
    while (!d.empty() && (d.back() == ' ' || d.back() == '+')) d.pop_back();
    return d;
}

void traceStep(int step, const std::string& x, const char* proc) {
    if (tracing()) DebugAdd("Newton step " + std::to_string(step) + ": x = " + x, proc);
}

}  // namespace

bool walkFits(const char* proc, std::string_view formula, int limit) {
    return withinEvaluationBudget(proc,
                                  evaluationWork(2 * std::uint64_t(std::max(limit, 0)), formula));
}

bool stepsFit(const char* proc, std::string_view formula, std::string_view derivative, int steps) {
    const std::uint64_t n = std::uint64_t(std::max(steps, 0));
    return withinEvaluationBudget(proc,
                                  evaluationWork(2 * std::uint64_t{kSearchSteps} + n, formula) +
                                      evaluationWork(n, derivative));
}

double startValue(std::string_view formula, std::string_view variable, int limit) {
    return search(formula, variable, limit, false);
}

int NewtSolve(std::string_view formula, std::string_view variable, double* start) {
    if (!start) {
        failReplacing(ErrorCode::ValueNotDefined, "NewtSolve",
                      "Input parameter error: Returned Value not defined");
        return codeNumber(ErrorCode::ValueNotDefined);
    }
    if (!usableName(variable, "NewtSolve") || !walkFits("NewtSolve", formula, kSearchSteps))
        return codeNumber(eError());
    *start = search(formula, variable, kSearchSteps, false);
    return codeNumber(eError());
}

double dPolySolve(std::string_view formula, std::string_view variable) {
    if (!usableName(variable, "dPolySolve") || !walkFits("dPolySolve", formula, kSearchSteps))
        return 0;
    return search(formula, variable, kSearchSteps, false);
}

std::string sPolyNewt(std::string_view formula, std::string_view variable, int limit) {
    if (!usableName(variable, "sPolyNewt")) return {};
    if (limit > kMaxSolverSteps) {
        failReplacing(ErrorCode::InvalidArgument, "sPolyNewt",
                      "Steps = " + std::to_string(limit) + ": at most " +
                          std::to_string(kMaxSolverSteps) + " steps");
        return {};
    }
    if (!walkFits("sPolyNewt", formula, limit)) return {};
    return FixText(search(formula, variable, limit, true));
}

double dSolve(std::string_view formula, std::string_view variable) {
    if (!usableName(variable, "dSolve")) return 0;
    const std::string derivative = derivativeFormula(formula, variable);
    if (!stepsFit("dSolve", formula, derivative, kNewtonSteps)) return 0;
    double x = search(formula, variable, kSearchSteps, false);
    StoredFormula f(formula, variable), fPrime(derivative, variable);
    for (int step = 1; step <= kNewtonSteps; ++step) {
        double y = 0, d = 0;
        const std::string xText = FixText(x);
        if (!valueAt(f, variable, xText, false, &y) || !valueAt(fPrime, variable, xText, false, &d)) {
            logError("dSolve",
                     "Newton step " + std::to_string(step) + ": no value at x = " + xText);
            break;
        }
        x = d == 0 ? x - y : x - y / d;
        traceStep(step, FixText(x), "dSolve");
    }
    return x;
}

std::string sSolve(std::string_view formula, std::string_view variable, int steps) {
    if (steps > kMaxSolverSteps) {
        failReplacing(ErrorCode::InvalidArgument, "sSolve",
                      "Steps = " + std::to_string(steps) + ": at most " +
                          std::to_string(kMaxSolverSteps) + " Newton steps");
        return {};
    }
    const std::string derivative = derivativeFormula(formula, variable);
    if (!stepsFit("sSolve", formula, derivative, steps)) return {};
    std::string x = sPolyNewt(formula, variable, kSearchSteps);
    if (x.empty()) return x;
    StoredFormula f(formula, variable), fPrime(derivative, variable);
    for (int step = 1; step <= steps; ++step) {
        double y = 0, d = 0;
        if (!valueAt(f, variable, x, true, &y)) {
            logError("sSolve", "Newton step " + std::to_string(step) + ": no value at x = " + x);
            break;
        }
        const std::string yText = FixText(y);
        if (!valueAt(fPrime, variable, x, true, &d)) {
            logError("sSolve",
                     "Newton step " + std::to_string(step) + ": no derivative at x = " + x);
            break;
        }
        const double xv = DecValue(x), yv = DecValue(yText), dv = DecValue(FixText(d));
        x = FixText(dv == 0 ? xv - yv : xv - yv / dv);
        traceStep(step, x, "sSolve");
    }
    return x;
}

}  // namespace zrt
