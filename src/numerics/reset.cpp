#include "numerics/reset.h"

#include "numerics/matrix.h"

namespace zrt {

void resetNumericsLayer() {
    resetMatrix();
}

}  // namespace zrt
