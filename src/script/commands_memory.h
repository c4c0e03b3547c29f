// The memory commands of scripts: variables, functions and matrices stored,
// and Show, which lists what a name holds.
#pragma once

#include "script/command.h"

namespace zrt {

// Var = name ; value
void runVar(const CommandLine& cmd, CommandOutput& out);

// Funct = name ; formula, and FunctF = file whose text is "name ; formula".
void runFunct(const CommandLine& cmd, CommandOutput& out);

// Matr / Vect = name ; rows ; cols ; elements..., and MatrF / VectF = file.
void runMatr(const CommandLine& cmd, CommandOutput& out);

// DimX = name(rows,cols) ; label = value ; ... : the DimX lines that follow
// for the same matrix add their elements to it.
void runDimX(const CommandLine& cmd, CommandOutput& out);

// Show(name), or Show = name: a variable, function, constant or matrix.
void runShow(const CommandLine& cmd, CommandOutput& out);

}  // namespace zrt
