#include "script/batchrun.h"

namespace zrt {

BatchRun& batchRun() {
    static BatchRun state;
    return state;
}

void resetBatchRun() { batchRun() = BatchRun{}; }

}  // namespace zrt
