#include "script/commands_sdiff.h"

#include "evaluator/errors.h"
#include "script/interpreter.h"
#include "sdiff/sdiff.h"

namespace zrt {

namespace {

std::string trimmedName(const std::string& text) {
    const std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}

// Reports a failed line and keeps its code as the sDiff status.
void fail(const CommandLine& cmd, CommandOutput& out, const std::string& echo, int code) {
    setLastSDiffStatus(code);
    out.failure(cmd, echo, code);
}

}  // namespace

void sDiffCommand(const CommandLine& cmd, CommandOutput& out) {
    const std::string variable = trimmedName(cmd.params);
    const bool fromFile = cmd.name == "sdifff";
    auto echo = [&](const std::string& formula) {
        return ": f(" + variable + ") = " + formula + ":\r\n";
    };

    // Without its variable every name would differentiate to 0 and the
    // derivative of anything would print as 0: refuse it instead.
    if (variable.empty()) {
        setEError(13);
        logError("sEval", 0, "sDiff needs the variable in brackets: sDiff(x) = formula");
        fail(cmd, out, echo(cmd.arg), 13);
        return;
    }

    std::string formula = cmd.arg;
    CommandOutput::FileForm files;
    if (fromFile) {
        files = CommandOutput::fileForm(cmd.arg);
        if (!out.readInput(cmd, echo(cmd.arg), files.input, formula)) {
            setLastSDiffStatus(eError());
            return;
        }
    }

    // The derivative comes back whole, however long: the second call with a
    // longer buffer that a caller of e_diff makes is never needed here.
    std::string derivative;
    eDiff(formula, variable, derivative);
    const int code = eError();
    if (code != kNoError) {
        // The differentiator's codes read as the evaluator's texts.
        fail(cmd, out, echo(formula), code);
        return;
    }
    setLastSDiffStatus(kNoError);
    out.success(cmd, echo(formula), "f'(" + variable + ") => ", derivative);
    if (fromFile) out.writeOutput(files.output, derivative);
}

}  // namespace zrt
