#include "script/commands_expr.h"

#include "base/errors.h"
#include "base/strings.h"
#include "memory/varstore.h"
#include "script/interpreter.h"

namespace zrt {

namespace {

void evaluateCommand(const CommandLine& cmd, CommandOutput& out, const std::string& expr,
                     const std::string& note, const std::string& outputFile) {
    const std::string echoPart = ": " + upperAscii(cmd.typed) + " = " + expr + ": " + note + "\r\n";
    const Evaluated v = evaluateFormula(expr);
    if (v.error != ErrorCode::None) {
        out.failure(cmd, echoPart, v.error);
        return;
    }
    if (out.tooLargeToShow(cmd, echoPart, v, "")) return;
    // Hex and Bin show a number in their own digits; a matrix as Expr does.
    const bool digits = !v.isMatrix && (cmd.name == "hex" || cmd.name == "bin");
    const std::string result =
        digits ? out.numberLabel() + " " + commandValueText(cmd.name, v.number, 0)
               : out.valueText(v);
    out.success(cmd, echoPart, out.resultPrefix(), result);
    out.writeOutput(outputFile, result);
}

}  // namespace

void runExpr(const CommandLine& cmd, CommandOutput& out) {
    evaluateCommand(cmd, out, cmd.arg, blankFileNote(), "");
}

void runExprF(const CommandLine& cmd, CommandOutput& out) {
    const CommandOutput::FileForm f = CommandOutput::fileForm(cmd.arg);
    std::string text;
    if (out.readInput(cmd, ": EXPRF = " + cmd.arg + ": " + f.note + "\r\n", f.input, text))
        evaluateCommand(cmd, out, text, f.note, f.output);
}

void runStoExpr(const CommandLine& cmd, CommandOutput& out) {
    const std::string echoPart =
        ": " + upperAscii(cmd.typed) + " = " + cmd.arg + ": " + blankFileNote() + "\r\n";
    const std::string target = trimmed(cmd.params.substr(0, cmd.params.find(';')));
    if (target.empty()) {
        failReplacing(ErrorCode::InvalidArgument, "sEval", "StoExpr without a name: " + cmd.arg);
        out.failure(cmd, echoPart, ErrorCode::InvalidArgument);
        return;
    }
    const Evaluated v = evaluateFormula(cmd.arg);
    if (v.error != ErrorCode::None) {
        out.failure(cmd, echoPart, v.error);
        return;
    }
    if (v.isMatrix) {
        if (!storeMatrixResult(target, v)) {
            out.failure(cmd, echoPart,
                        eError() == ErrorCode::None ? ErrorCode::InvalidArgument : eError());
            return;
        }
        if (out.tooLargeToShow(cmd, echoPart, v, " (it is stored)")) return;
        out.success(cmd, echoPart, out.resultPrefix(), out.valueText(v));
        return;
    }
    const std::string text = out.number(v.number);
    SetVarFunct(target, text, ListKind::Vars);
    out.success(cmd, echoPart, out.resultPrefix(), "Number " + target + " = " + text);
}

}  // namespace zrt
