#include "sdiff/reset.h"

#include "sdiff/sdiff.h"

namespace zrt {

void resetSdiffLayer() {
    resetSdiff();
}

}  // namespace zrt
