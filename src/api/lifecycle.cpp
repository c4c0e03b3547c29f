#include "api/lifecycle.h"

#include "evaluator/errors.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "evaluator/numtext.h"
#include "memory/elemorder.h"
#include "memory/varstore.h"
#include "script/batchrun.h"
#include "script/flags.h"
#include "ui/pluginlog.h"
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
    resetBatchFlags();
    resetBatchRun();

    // numerics

    // sdiff

    // plugin

    // ui
    resetTrace();
    resetPluginLog();
}

}  // namespace zrt
