#include "api/lifecycle.h"

// evaluator
#include "evaluator/errors.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "evaluator/numtext.h"

// memory
#include "memory/elemorder.h"
#include "memory/varstore.h"

// script
#include "script/batchrun.h"
#include "script/flags.h"

// numerics
#include "numerics/matrix.h"

// sdiff
#include "sdiff/sdiff.h"

// plugin

// ui
#include "ui/plot.h"
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
    resetMatrix();

    // sdiff
    resetSdiff();

    // plugin

    // ui
    resetTrace();
    resetPlots();
    resetPluginLog();
}

}  // namespace zrt
