// The commands of scripts that set how the library runs or say what it is:
// the element order of matrices, the trace, the error messages, Pause, aAbout.
#pragma once

#include "script/command.h"

namespace zrt {

// aElemOrderSet = 0 (by row) or 1 (by column); any other value fails the line.
void runElemOrderSet(const CommandLine& cmd, CommandOutput& out);

// aElemOrderEx: the echo line names the order in use.
void runElemOrderEx(const CommandLine& cmd, CommandOutput& out);

// Debug = 0 / 1: the trace off or on.
void runDebug(const CommandLine& cmd, CommandOutput& out);

// ErrorMsgs = 0 / 1: the evaluator's message boxes off or on.
void runErrorMsgs(const CommandLine& cmd, CommandOutput& out);

// Pause: counted as a command; nothing else.
void runPause(const CommandLine& cmd, CommandOutput& out);

// aAbout: the plug-in's information as comment lines.
void runAbout(const CommandLine& cmd, CommandOutput& out);

}  // namespace zrt
