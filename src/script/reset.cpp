#include "script/reset.h"

#include "script/batch_state.h"
#include "script/batchrun.h"
#include "script/commands_calculus.h"
#include "script/commands_plot.h"
#include "script/flags.h"
#include "script/interpreter.h"

namespace zrt {

void resetScriptLayer() {
    resetBatchFlags();
    resetBatchRun();
    resetBatchState();
    resetInterpreter();
    resetPlotCommand();
    resetCalculusCommands();
}

}  // namespace zrt
