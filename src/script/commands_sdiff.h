// The differentiation commands of the script interpreter.
#pragma once

#include "script/command.h"

namespace zrt {

// sDiff(x) = formula and sDiffF(x) = file [output file]: the symbolic
// derivative of the formula by x.
void sDiffCommand(const CommandLine& cmd, CommandOutput& out);

}  // namespace zrt
