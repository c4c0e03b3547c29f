#include "api/lifecycle.h"

#include "base/barrier.h"
#include "base/reset.h"
#include "evaluator/reset.h"
#include "log/reset.h"
#include "memory/reset.h"
#include "numerics/reset.h"
#include "plugin/lifecycle.h"
#include "plugin/reset.h"
#include "script/reset.h"
#include "sdiff/reset.h"
#include "ui/reset.h"

namespace zrt {

void libraryInit() {
    // One reset per layer, bottom first (src/layers.txt); platform, calculus
    // and api keep no state of the library's.
    resetBaseLayer();
    resetLogLayer();
    resetMemoryLayer();
    resetNumericsLayer();
    resetEvaluatorLayer();
    resetSdiffLayer();
    resetUiLayer();
    resetScriptLayer();
    resetPluginLayer();
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
