#include "api/lifecycle.h"

#include "evaluator/errors.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "evaluator/numtext.h"
#include "memory/varstore.h"

namespace zrt {

void libraryInit() {
    resetErrors();
    resetLexer();
    resetNumText();
    resetFunctions();
    resetVarStore();
}

}  // namespace zrt
