#include "ui/reset.h"

#include "ui/plot.h"

namespace zrt {

void resetUiLayer() {
    resetPlots();
}

}  // namespace zrt
