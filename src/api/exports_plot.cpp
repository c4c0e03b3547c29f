// Diagnostic export of the plot windows: where the window of a plot is, so
// that a host can check the tiling of the windows a script's Plot lines open.
#include "api/abi.h"
#include "platform/platform.h"

using zrt::abi::guard;

int32_t ZRT_API zrtDiagPlotWindow(int32_t plotNumber, int32_t* rect) {
    return guard("zrtDiagPlotWindow", 0, [&] {
        zrt::platform::WindowRect r;
        if (!zrt::platform::plotWindowRect(plotNumber, r)) return 0;
        if (rect) {
            rect[0] = r.x;
            rect[1] = r.y;
            rect[2] = r.width;
            rect[3] = r.height;
        }
        return 1;
    });
}
