#include "api/lifecycle.h"

// evaluator
#include "base/barrier.h"
#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "evaluator/matrixexpr.h"
#include "base/numtext.h"
#include "evaluator/parser.h"
#include "evaluator/statistics.h"

// memory
#include "memory/elemorder.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"

// script
#include "script/batch_state.h"
#include "script/batchrun.h"
#include "script/commands_calculus.h"
#include "script/commands_plot.h"
#include "script/flags.h"
#include "script/interpreter.h"

// numerics
#include "numerics/matrix.h"

// sdiff
#include "sdiff/sdiff.h"

// plugin
#include "plugin/lifecycle.h"
#include "plugin/state.h"

// ui
#include "ui/plot.h"
#include "log/pluginlog.h"
#include "log/trace.h"

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
    resetBatchFlags();
    resetBatchRun();
    resetPlotCommand();
    resetBatchState();
    resetInterpreter();
    resetCalculusCommands();

    // numerics
    resetMatrix();

    // sdiff
    resetSdiff();

    // plugin
    resetPlugin();

    // ui
    resetTrace();
    resetPlots();
    resetPluginLog();
}

void processAttach() noexcept {
    // A library that cannot set itself up still loads: its defaults stand.
    barrierVoid("AttachProcess", [] {
        libraryInit();
        AttachProcess();
    });
}

void processDetach() noexcept {
    barrierVoid("DetachProcess", [] { DetachProcess(); });
}

}  // namespace zrt
