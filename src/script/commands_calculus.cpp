#include "script/commands_calculus.h"

#include <cmath>
#include <vector>

#include "base/strings.h"
#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "calculus/integration.h"
#include "numerics/polynomials.h"
#include "calculus/solvers.h"
#include "script/interpreter.h"
#include "log/trace.h"

namespace zrt {

namespace {

struct CalculusCommandState {
    std::string polynomialVariable = "x";
};

CalculusCommandState& calculusState() {
    static CalculusCommandState state;
    return state;
}

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semi = text.find(';', start);
        fields.push_back(trimmed(std::string_view(text).substr(
            start, semi == std::string::npos ? std::string::npos : semi - start)));
        if (semi == std::string::npos) return fields;
        start = semi + 1;
    }
}

// Reports a refused argument the way the evaluator reports its own.
ErrorCode refuse(const char* proc, const std::string& detail) {
    failReplacing(ErrorCode::InvalidArgument, proc, detail);
    return ErrorCode::InvalidArgument;
}

// A parameter of the command as a number: it may be any formula (pi, 2*pi).
bool parameterValue(const std::string& text, const char* what, double* value, ErrorCode* code) {
    if (text.empty()) {
        *code =
            refuse("sEval", std::string("Integrate(a;b;n;method;var): ") + what + " is missing");
        return false;
    }
    const int kind = e_eval(text, value, 0);
    if (kind == 0) return true;
    *code = kind == 1 && eError() == ErrorCode::None
                ? refuse("sEval", std::string("Integrate: ") + what + " = " + text + " is a matrix")
                : eError();
    return false;
}

// The integral of `function` over the parameters "a;b;n;method;var".
void integrate(const CommandLine& cmd, CommandOutput& out, const std::string& parameters,
               const std::string& function, const std::string& note,
               const std::string& outputFile) {
    const std::string echoPart = ": iFunction = " + function + ": " + note + "\r\n";
    // Neither the trace nor error boxes interrupt the many evaluations.
    const int traceMode = SetDebugF(0);
    const int messages = messageSwitch();
    ShowMsgs(0);

    const std::vector<std::string> p = splitFields(parameters);
    auto field = [&](std::size_t i) { return i < p.size() ? p[i] : std::string(); };
    double a = 0, b = 0, n = 0, integral = 0;
    ErrorCode code = ErrorCode::None;
    if (parameterValue(field(0), "a", &a, &code) && parameterValue(field(1), "b", &b, &code) &&
        parameterValue(field(2), "n", &n, &code)) {
        if (!(n == std::trunc(n) && std::fabs(n) <= 2147483647.0)) {
            code = refuse("sEval",
                          "Integrate: n = " + field(2) + " is no whole number of subintervals");
        } else {
            const int method = lowerAscii(field(3)) == "trap" ? kTrapezoidal : kSimpson;
            const std::string variable = field(4).empty() ? std::string("x") : field(4);
            const int status =
                Integrate(function, a, b, static_cast<int>(n), method, variable, &integral);
            code = status == 0 ? ErrorCode::None : errorCodeOf(status);
        }
    }

    ShowMsgs(messages);
    SetDebugF(traceMode);
    if (code != ErrorCode::None) {
        out.failure(cmd, echoPart, code);
        return;
    }
    const std::string result = out.numberLabel() + " " + out.number(integral);
    out.success(cmd, echoPart,
                " Integral iFunction(" + formatValue(a, 0) + "," + formatValue(b, 0) + ") => ",
                result);
    out.writeOutput(outputFile, result);
}

// A file form holds one command line: the text up to its first line end,
// without a comment.
std::string firstLine(const std::string& text) {
    const std::string line = text.substr(0, text.find_first_of("\r\n"));
    return line.substr(0, line.find('\''));
}

}  // namespace

void runIntegrate(const CommandLine& cmd, CommandOutput& out) {
    if (cmd.name != "integratef") {
        integrate(cmd, out, cmd.params, cmd.arg, blankFileNote(), "");
        return;
    }
    const CommandOutput::FileForm f = CommandOutput::fileForm(cmd.arg);
    const std::string readEcho = ": iFunction = " + cmd.arg + ": " + f.note + "\r\n";
    std::string text;
    if (!out.readInput(cmd, readEcho, f.input, text)) return;
    // "(a;b;n;method;var) = formula", the command's name before "(" optional.
    const std::string line = firstLine(text);
    const std::size_t eq = line.find('=');
    const std::size_t open = line.find('(');
    const std::size_t close = open == std::string::npos ? open : line.find(')', open);
    if (eq == std::string::npos || open == std::string::npos || close == std::string::npos ||
        close > eq) {
        out.failure(cmd, readEcho,
                    refuse("sEval", "IntegrateF: the file " + f.input +
                                        " must hold (a;b;n;method;var) = formula"));
        return;
    }
    integrate(cmd, out, line.substr(open + 1, close - open - 1), trimmed(line.substr(eq + 1)),
              f.note, f.output);
}

void runVarPolyn(const CommandLine& cmd, CommandOutput& out) {
    const std::string name = lowerAscii(trimmed(cmd.arg));
    if (name.empty()) {
        out.failure(cmd, ": VARPOLYN = " + cmd.arg + ": " + blankFileNote() + "\r\n",
                    refuse("sEval", "VarPolyn needs the name of a variable"));
        return;
    }
    calculusState().polynomialVariable = name;
}

void runDerivate(const CommandLine& cmd, CommandOutput& out) {
    std::string polynomial = cmd.arg, outputFile;
    if (cmd.name == "derivatef") {
        const CommandOutput::FileForm f = CommandOutput::fileForm(cmd.arg);
        if (!out.readInput(cmd, ": Polyn = " + cmd.arg + ":\r\n", f.input, polynomial)) return;
        polynomial = trimmed(firstLine(polynomial));
        outputFile = f.output;
    }
    const std::string echoPart = ": Polyn = " + polynomial + ":\r\n";
    if (polynomial.empty()) {
        out.failure(cmd, echoPart, refuse("sEval", "Derivate needs a polynomial"));
        return;
    }
    const std::string derivative = Poly_dydx(polynomial, polynomialVariable());
    out.success(cmd, echoPart, " Derivate of Polyn => ", derivative);
    out.writeOutput(outputFile, derivative);
}

void runSolvePolyn(const CommandLine& cmd, CommandOutput& out) {
    const std::string echoPart = ": Polyn = " + cmd.arg + ":\r\n";
    if (cmd.arg.empty()) {
        out.failure(cmd, echoPart, refuse("sEval", "SolvePolyn needs a polynomial"));
        return;
    }
    const double root = dSolve(cmd.arg, polynomialVariable());
    if (eError() != ErrorCode::None) {
        out.failure(cmd, echoPart, eError());
        return;
    }
    out.success(cmd, echoPart, " Solution Polyn => ", out.numberLabel() + " " + out.number(root));
}

const std::string& polynomialVariable() {
    return calculusState().polynomialVariable;
}

void resetCalculusCommands() {
    calculusState() = CalculusCommandState{};
}

}  // namespace zrt
