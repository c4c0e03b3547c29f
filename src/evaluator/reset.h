// The one reset of the evaluator layer: lexer, function table, parser, evaluation, statistics,
// matrix expressions.
#pragma once

namespace zrt {

// Puts every state of this folder back to its load-time defaults. A new state
// struct in this folder gets its reset called from here.
void resetEvaluatorLayer();

}  // namespace zrt
