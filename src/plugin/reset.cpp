#include "plugin/reset.h"

#include "plugin/state.h"

namespace zrt {

void resetPluginLayer() {
    resetPlugin();
}

}  // namespace zrt
