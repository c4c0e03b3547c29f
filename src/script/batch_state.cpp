#include "script/batch_state.h"

namespace zrt {

namespace {

struct BatchState {
    std::string zrtResStr;
};

BatchState& batchState() {
    static BatchState state;
    return state;
}

}  // namespace

const std::string& zrtResStr() { return batchState().zrtResStr; }

void setZrtResStr(std::string text) { batchState().zrtResStr = std::move(text); }

void resetBatchState() { batchState() = BatchState{}; }

}  // namespace zrt
