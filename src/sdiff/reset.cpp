#include "sdiff/reset.h"

#include "sdiff/tree.h"

namespace zrt {

void resetSdiffLayer() {
    resetDiffState();
}

}  // namespace zrt
