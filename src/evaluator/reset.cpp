#include "evaluator/reset.h"

#include "evaluator/evaluator.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "evaluator/matrixexpr.h"
#include "evaluator/parser.h"
#include "evaluator/statistics.h"

namespace zrt {

void resetEvaluatorLayer() {
    resetLexer();
    resetFunctions();
    resetParser();
    resetEvaluator();
    resetStatistics();
    resetMatrixExpr();
}

}  // namespace zrt
