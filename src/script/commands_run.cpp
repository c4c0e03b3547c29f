#include "script/commands_run.h"

#include "base/errors.h"
#include "base/numtext.h"
#include "log/trace.h"
#include "memory/elemorder.h"
#include "ui/about.h"

namespace zrt {

void runElemOrderSet(const CommandLine& cmd, CommandOutput& out) {
    const double order = DecValue(cmd.arg);
    if (aElemOrderSet(order == 0 ? 0 : order == 1 ? 1 : -1) == codeNumber(MatrixStatus::Ok)) return;
    failReplacing(ErrorCode::InvalidArgument, "sEval", "aElemOrderSet = " + cmd.arg);
    out.failure(cmd, ": AELEMORDERSET = " + cmd.arg + ": " + blankFileNote() + "\r\n",
                ErrorCode::InvalidArgument);
}

void runElemOrderEx(const CommandLine& cmd, CommandOutput& out) {
    double probe[4] = {1, 2, 3, 4};
    const int order = aElemOrder(probe);
    out.echoOnly(cmd,
                 ": aElemOrderEx = " + std::string(order == 0 ? "by Row" : "by Col") + "\r\n\r\n");
}

void runDebug(const CommandLine& cmd, CommandOutput&) {
    SetDebugF(DecValue(cmd.arg) != 0 ? 4 : 1);
}

void runErrorMsgs(const CommandLine& cmd, CommandOutput&) {
    ShowMsgs(DecValue(cmd.arg) != 0 ? 1 : 0);
}

void runPause(const CommandLine&, CommandOutput&) {}

void runAbout(const CommandLine&, CommandOutput& out) {
    out.append(PluginInfoText(true));
}

}  // namespace zrt
