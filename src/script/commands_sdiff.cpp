#include "script/commands_sdiff.h"

#include "base/strings.h"
#include "base/errors.h"
#include "script/interpreter.h"
#include "sdiff/sdiff.h"

namespace zrt {

namespace {

// A file may hold the formula alone, or a line like a command: "(x) =
// formula" or "sDiff(x) = formula". The formula never holds "=", so a text
// with one is read that way: the formula after it, the variable between the
// brackets before it.
void readFileText(const std::string& text, std::string& formula, std::string& variable) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos) {
        formula = text;
        return;
    }
    formula = trimmed(text.substr(eq + 1));
    const std::string head = text.substr(0, eq);
    const std::size_t open = head.find('(');
    const std::size_t close = head.find(')', open == std::string::npos ? 0 : open);
    if (variable.empty() && open != std::string::npos && close != std::string::npos)
        variable = trimmed(head.substr(open + 1, close - open - 1));
}

// Reports a failed line and keeps its code as the sDiff status.
void reportFailure(const CommandLine& cmd, CommandOutput& out, const std::string& echo,
                   ErrorCode code) {
    setLastSDiffStatus(codeNumber(code));
    out.failure(cmd, echo, code);
}

}  // namespace

void sDiffCommand(const CommandLine& cmd, CommandOutput& out) {
    std::string variable = trimmed(cmd.params);
    const bool fromFile = cmd.name == "sdifff";
    auto echo = [&](const std::string& formula) {
        return ": f(" + variable + ") = " + formula + ":\r\n";
    };

    std::string formula = cmd.arg;
    CommandOutput::FileForm files;
    if (fromFile) {
        files = CommandOutput::fileForm(cmd.arg);
        std::string text;
        if (!out.readInput(cmd, echo(cmd.arg), files.input, text)) {
            setLastSDiffStatus(codeNumber(eError()));
            return;
        }
        readFileText(text, formula, variable);
    }

    // Without its variable every name would differentiate to 0 and the
    // derivative of anything would print as 0: refuse it instead.
    if (variable.empty()) {
        failReplacing(ErrorCode::InvalidArgument, "sEval",
                      fromFile
                          ? "sDiffF needs the variable: sDiffF(x) = file, or \"(x) = formula\" "
                            "in the file"
                          : "sDiff needs the variable: sDiff(x) = formula");
        reportFailure(cmd, out, echo(formula), ErrorCode::InvalidArgument);
        return;
    }

    // The derivative comes back whole, however long: the second call with a
    // longer buffer that a caller of e_diff makes is never needed here.
    std::string derivative;
    eDiff(formula, variable, derivative);
    const ErrorCode code = eError();
    if (code != ErrorCode::None) {
        // The differentiator's codes read as the evaluator's texts.
        reportFailure(cmd, out, echo(formula), code);
        return;
    }
    setLastSDiffStatus(codeNumber(ErrorCode::None));
    out.success(cmd, echo(formula), "f'(" + variable + ") => ", derivative);
    if (fromFile) out.writeOutput(files.output, derivative);
}

}  // namespace zrt
