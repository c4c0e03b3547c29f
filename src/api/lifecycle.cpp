#include "api/lifecycle.h"

#include "evaluator/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "evaluator/matrixexpr.h"
#include "evaluator/numtext.h"
#include "evaluator/parser.h"
#include "evaluator/statistics.h"
#include "memory/elemorder.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "script/batch_state.h"
#include "ui/trace.h"

namespace zrt {

void libraryInit() {
    // evaluator
    resetErrors();
    resetLexer();
    resetNumText();
    resetFunctions();
    resetParser();
    resetEvaluator();
    resetStatistics();
    resetMatrixExpr();

    // memory
    resetVarStore();
    resetElemOrder();
    resetMatrixStore();

    // script
    resetBatchState();

    // numerics

    // sdiff

    // plugin

    // ui
    resetTrace();
}

}  // namespace zrt
