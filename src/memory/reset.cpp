#include "memory/reset.h"

#include "memory/elemorder.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"

namespace zrt {

void resetMemoryLayer() {
    resetVarStore();
    resetElemOrder();
    resetMatrixStore();
}

}  // namespace zrt
