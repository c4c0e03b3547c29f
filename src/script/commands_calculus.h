// The calculus commands of scripts: integrals, polynomial derivatives and
// roots, and the variable the polynomial commands use.
#pragma once

#include <string>

#include "script/command.h"

namespace zrt {

// Integrate(a;b;n;method;var) = formula, and IntegrateF = file [output file]
// whose file holds "(a;b;n;method;var) = formula".
void runIntegrate(const CommandLine& cmd, CommandOutput& out);

// VarPolyn = name
void runVarPolyn(const CommandLine& cmd, CommandOutput& out);

// Derivate = polynomial, and DerivateF = file [output file].
void runDerivate(const CommandLine& cmd, CommandOutput& out);

// SolvePolyn = polynomial
void runSolvePolyn(const CommandLine& cmd, CommandOutput& out);

// The variable of the polynomial commands ("x" until VarPolyn names another).
const std::string& polynomialVariable();

void resetCalculusCommands();

}  // namespace zrt
