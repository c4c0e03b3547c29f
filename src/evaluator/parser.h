// The parser e_prs: precedence climbing that computes while it parses. There
// is no syntax tree; every operator is applied as soon as both operands are known.
#pragma once

#include "base/limits.h"
#include "evaluator/lexer.h"

namespace zrt {

// Parses one operand and every following operator that binds at least as
// tightly as `level` (1 loosest, 12 tightest); writes the type byte.
double e_prs(int level, unsigned char* type);

// Checks that the current token is `expected` (error 6 when it is not and no
// error is pending) and reads the next token in every case. Returns e_error.
ErrorCode e_match(Tok expected);

// Current nesting of e_prs (shown in trace lines).
int parseDepth();

void resetParser();

}  // namespace zrt
