// The parser e_prs: precedence climbing that computes while it parses. There
// is no syntax tree; every operator is applied as soon as both operands are known.
#pragma once

#include "evaluator/lexer.h"

namespace zrt {

// How deep operands may nest (brackets, function and statistics calls, signs
// and "not"): beyond it the evaluation ends with error 3 instead of
// exhausting the stack of the editor's thread.
constexpr int kMaxNesting = 1000;

// Parses one operand and every following operator that binds at least as
// tightly as `level` (1 loosest, 12 tightest); writes the type byte.
double e_prs(int level, unsigned char* type);

// Checks that the current token is `expected` (error 6 when it is not and no
// error is pending) and reads the next token in every case. Returns e_error.
int e_match(Tok expected);

// Current nesting of e_prs (shown in trace lines).
int parseDepth();

void resetParser();

}  // namespace zrt
