// The lexer e_nxt: reads the evaluator's formula token by token and resolves
// variables and constants into number texts.
#pragma once

#include <string>

namespace zrt {

// What the extended error report prints of the lexer's state.
struct LexerReport {
    std::string expression;  // the whole prepared formula
    std::string marker;      // position marker line "pos(nnn)    = ---|"
    std::string element;     // spelling of the current token
    std::string token;       // e_tok
    std::string remaining;   // text not yet scanned
};

LexerReport lexerReport();

// Load-time state: no formula.
void resetLexer();

}  // namespace zrt
