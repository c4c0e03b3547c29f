// The expression commands of scripts: a formula's value shown, read from a
// file, or stored under a name.
#pragma once

#include "script/command.h"

namespace zrt {

// Expr = formula, Hex = formula ("&FF"), Bin = formula ("!101").
void runExpr(const CommandLine& cmd, CommandOutput& out);

// ExprF = file [output file]: the formula read from the file.
void runExprF(const CommandLine& cmd, CommandOutput& out);

// StoExpr(name) = formula: the value stored as a variable (or a matrix) and shown.
void runStoExpr(const CommandLine& cmd, CommandOutput& out);

}  // namespace zrt
