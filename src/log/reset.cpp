#include "log/reset.h"

#include "log/pluginlog.h"
#include "log/trace.h"

namespace zrt {

void resetLogLayer() {
    resetTrace();
    resetPluginLog();
}

}  // namespace zrt
