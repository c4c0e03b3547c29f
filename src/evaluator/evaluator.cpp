#include "evaluator/evaluator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <vector>

#include "evaluator/errors.h"
#include "evaluator/lexer.h"
#include "evaluator/matrixexpr.h"
#include "evaluator/numtext.h"
#include "evaluator/pointformula.h"
#include "evaluator/parser.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "ui/trace.h"

namespace zrt {

namespace {

struct EvalState {
    int resultType = 0;
    int trueValue = -1;
    int runCount = 0;
    int active = 0;          // evaluations under way (more than one only when nested)
    std::string prepared;    // the formula after preparation; the buffer is reused
};

EvalState& evalState() {
    static EvalState state;
    return state;
}

// An evaluation that starts while another is under way scans in a lexer
// state of its own and leaves the other's temporaries alone.
class EvaluationScope {
public:
    EvaluationScope() : state_(evalState()), nested_(state_.active > 0) {
        if (nested_) lexerEnterNested();
        ++state_.active;
    }
    ~EvaluationScope() {
        --state_.active;
        if (nested_) lexerLeaveNested();
    }
    EvaluationScope(const EvaluationScope&) = delete;
    EvaluationScope& operator=(const EvaluationScope&) = delete;
    bool nested() const { return nested_; }

private:
    EvalState& state_;
    bool nested_;
};

struct Outcome {
    double value = 0;
    unsigned char type = kNumberType;
};

// The preparation and the parse, common to e_eval and de_eval. Returns -1 or
// the error code.
int evaluate(std::string_view formula, int check, const char* caller, bool nested, Outcome& out) {
    EvalState& s = evalState();
    setEError(kNoError);
    if (check != 0 && CheckFunctions() == 1) {
        setEError(1);
        return 1;
    }
    s.prepared.assign(formula.data(), formula.size());
    for (char* c = s.prepared.data(); (c = static_cast<char*>(std::memchr(c, ',', s.prepared.data() + s.prepared.size() - c))) != nullptr;)
        *c++ = '.';
    if (!varEntries(ListKind::Functs).empty() && !ReplaceFuncts(s.prepared)) return eError();
    setEError(kNoError);
    lexerStart(s.prepared);

    // While the parse runs, new matrices are temporaries of this evaluation.
    struct MarkScope {
        MatrixMark mark = beginMatrixEvaluation();
        ~MarkScope() { endMatrixEvaluation(mark); }
    };
    MatrixMark mark;
    {
        MarkScope scope;
        mark = scope.mark;
        e_nxt();
        out.value = e_prs(1, &out.type);
    }
    s.resultType = out.type;

    if (currentToken().kind != Tok::End && eError() == kNoError) {
        setEError(2);
        logError(caller, 0, "Syntax error, token = '" + currentElement() + "' after the formula");
    }
    if (eError() != kNoError) {
        dropTemporariesSince(mark, 0);
        return eError();
    }
    if (out.type == kMatrixType) {
        const std::intptr_t result = matrixAddress(out.value);
        if (nested) {
            dropTemporariesSince(mark, result);
        } else {
            ClearMatrixList(result);
        }
    } else {
        // A number result (det of a matrix, say) needs none of the temporaries.
        dropTemporariesSince(mark, 0);
    }
    return kNoError;
}

// Fields "name=body" of the function list text, in list order, up to the
// first empty field; `visit` gets the field and its position in the list.
template <class Visit>
void walkFunctionList(const std::string& list, Visit visit) {
    std::size_t p = 0;
    while (p < list.size()) {
        std::size_t e = list.find(';', p);
        if (e == std::string::npos) e = list.size();
        const std::string_view field(list.data() + p, e - p);
        if (field.empty()) break;
        if (!visit(field, p, e)) break;
        p = e + 1;
    }
}

}  // namespace

int e_eval(std::string_view formula, double* result, int check) {
    EvalState& s = evalState();
    ++s.runCount;
    EvaluationScope scope;
    Outcome out;
    const int code = evaluate(formula, check, "e_eval", scope.nested(), out);
    if (code != kNoError) return code;
    if (result) *result = out.value;
    return out.type == kMatrixType ? 1 : 0;
}

double de_eval(std::string_view formula, int check) {
    EvaluationScope scope;
    Outcome out;
    const int code = evaluate(formula, check, "de_eval", scope.nested(), out);
    if (code != kNoError) return code;
    if (out.type == kMatrixType) {
        // The result lives on as "[mResult]"; its block moves there, so the
        // value stays the address of a stored matrix.
        const std::intptr_t address = renameMatrix(matrixAddress(out.value), "[mResult]");
        out.value = static_cast<double>(address);
    }
    return out.value;
}

int e_evals(std::string_view formula, double start, std::string_view variable, double end,
            int steps, double* xs, double* ys, double* bounds) {
    setEError(kNoError);
    // A step count typed by mistake would keep the caller busy for minutes.
    if (steps > kMaxTableSteps) {
        setEError(13);
        logError("e_evals", 0,
                 "steps = " + std::to_string(steps) + ": a table has at most " +
                     std::to_string(kMaxTableSteps) + " steps, formula = " + std::string(formula));
        return 13;
    }
    PointFormula points(formula, variable);

    const double step = (end - start) / steps;
    double b[5] = {0, 0, 0, 0, 0};
    bool haveBounds = false;
    double x = start, y = 0, lastX = start;
    int lastCode = kNoError;
    long long i = 0;
    for (; x <= end && i <= steps; ++i) {
        e_eval(points.textAt(x), &y, 0);  // a failed point keeps the previous y
        lastCode = eError();
        lastX = x;
        if (lastCode == kNoError) {
            // The bounds start at the first point that has a value.
            if (!haveBounds) {
                b[1] = b[3] = x;
                b[2] = b[4] = y;
                haveBounds = true;
            }
            b[1] = std::min(b[1], x);
            b[2] = std::min(b[2], y);
            b[3] = std::max(b[3], x);
            b[4] = std::max(b[4], y);
        }
        if (xs) xs[i] = x;
        if (ys) ys[i] = y;
        x += step;
    }
    // Points the loop did not reach read 0, as in a fresh table.
    for (; i <= steps; ++i) {
        if (xs) xs[i] = 0;
        if (ys) ys[i] = 0;
    }
    if (bounds) std::copy(b, b + 5, bounds);
    if (lastCode == kNoError) return kNoError;
    setEError(lastCode);
    logError("e_evals", 0, "x = " + shortNumber(lastX) + ", formula = " + std::string(formula));
    return lastCode;
}

int GetResultType() { return evalState().resultType; }

int SetBoolSign(int value) {
    if (value == 1 || value == -1) {
        evalState().trueValue = value;
    } else {
        showEvalError("Procedure: SetBoolSign\r\nWrong parameter. Must be 1 or -1");
    }
    return 0;
}

int trueValue() { return evalState().trueValue; }

int ReSetZeRarove() {
    ClearVarFuncList(ListKind::Vars);
    ClearVarFuncList(ListKind::Functs);
    ClearMatrixList(0);
    evalState().resultType = -1;
    ShowMsgs(0);
    LogError("ReSetZeRarove", 0, "", kLogClear);
    return 0;
}

int CheckFunctions() {
    const std::string& list = varFuncListText(ListKind::Functs);
    if (list.empty()) return eError();
    int result = kNoError;
    walkFunctionList(list, [&](std::string_view field, std::size_t p, std::size_t e) {
        const std::size_t eq = field.find('=');
        if (eq == std::string_view::npos || eq == 0) return true;
        const std::string_view name = field.substr(0, eq);
        // The list without this entry: what comes before it and after its ";".
        const std::string_view all(list);
        const std::string_view before = all.substr(0, p);
        const std::string_view after = all.substr(std::min(e + 1, all.size()));
        if (before.find(name) == std::string_view::npos && after.find(name) == std::string_view::npos)
            return true;
        setEError(1);
        logError("CheckFunctions", 0, "sFuncts: " + list + "\r\nFunct: " + std::string(name));
        result = 1;
        return false;
    });
    return result;
}

bool ReplaceFuncts(std::string& formula) {
    const std::string& list = varFuncListText(ListKind::Functs);
    bool ok = true;
    std::string lowered, out;
    walkFunctionList(list, [&](std::string_view field, std::size_t, std::size_t) {
        const std::size_t eq = field.find('=');
        if (eq == std::string_view::npos || eq == 0) return true;
        const std::string name = lowerAscii(field.substr(0, eq));
        lowered = lowerAscii(formula);
        std::size_t at = lowered.find(name);
        if (at == std::string::npos) return true;
        const std::string_view body = field.substr(eq + 1);
        out.clear();
        std::size_t from = 0;
        for (; at != std::string::npos; at = lowered.find(name, from)) {
            out.append(formula, from, at - from);
            out += '(';
            out.append(body.data(), body.size());
            out += ')';
            from = at + name.size();
            if (out.size() + (formula.size() - from) > kMaxPreparedFormula) {
                setEError(13);
                logError("ReplaceFuncts", 0,
                         "With the user function " + name + " expanded the formula grows beyond " +
                             std::to_string(kMaxPreparedFormula) + " characters");
                ok = false;
                return false;
            }
        }
        out.append(formula, from, std::string::npos);
        formula.swap(out);
        return true;
    });
    return ok;
}

int runCount() { return evalState().runCount; }

void showEvalErrorKeeping(std::string_view text) {
    const int code = eError();
    showEvalError(text);
    setEError(code);
}

void traceLine(std::string_view text, std::string_view title) {
    const int code = eError();
    DebugAdd(text, title);
    setEError(code);
}

void resetEvaluator() { evalState() = EvalState{}; }

}  // namespace zrt
