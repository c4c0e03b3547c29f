#include "api/lifecycle.h"

#include "evaluator/errors.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "evaluator/numtext.h"
#include "memory/elemorder.h"
#include "memory/varstore.h"
#include "numerics/matrix.h"
#include "ui/trace.h"

namespace zrt {

void libraryInit() {
    // evaluator
    resetErrors();
    resetLexer();
    resetNumText();
    resetFunctions();

    // memory
    resetVarStore();
    resetElemOrder();

    // script

    // numerics
    resetMatrix();

    // sdiff

    // plugin

    // ui
    resetTrace();
}

}  // namespace zrt
