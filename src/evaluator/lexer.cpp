#include "evaluator/lexer.h"

namespace zrt {

namespace {

struct LexerState {
    std::string expression;
    std::string element;
    std::string token;
    std::size_t pos = 0;
};

LexerState& lexerState() {
    static LexerState state;
    return state;
}

}  // namespace

LexerReport lexerReport() {
    const LexerState& s = lexerState();
    LexerReport r;
    r.expression = s.expression;
    r.element = s.element;
    r.token = s.token;
    r.remaining = s.pos < s.expression.size() ? s.expression.substr(s.pos) : std::string();
    return r;
}

void resetLexer() { lexerState() = LexerState{}; }

}  // namespace zrt
