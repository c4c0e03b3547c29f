// Diagnostic exports of the plot: a host plots a function of its own, reads
// where the window is and saves its picture, as the Plot command will.
#include "api/abi.h"
#include "platform/platform.h"
#include "ui/plot.h"

using namespace zrt;
using zrt::abi::guard;
using zrt::abi::in;

int32_t ZRT_API zrtDiagPlot(const zrt_char* params, int32_t plotNumber, zrt_plot_fn fn) {
    return guard("zrtDiagPlot", 0, [&] {
        PlotEval eval;
        if (fn) {
            eval = [fn](double x, double& y) { return fn(x, &y) != 0; };
        }
        return zrt::aPlot(in(params), plotNumber, eval);
    });
}

int32_t ZRT_API zrtDiagPlotWindow(int32_t plotNumber, int32_t* rect) {
    return guard("zrtDiagPlotWindow", 0, [&] {
        platform::WindowRect r;
        if (!platform::plotWindowRect(plotNumber, r)) return 0;
        if (rect) {
            rect[0] = r.x;
            rect[1] = r.y;
            rect[2] = r.width;
            rect[3] = r.height;
        }
        return 1;
    });
}

const zrt_char* ZRT_API zrtDiagSavePlot(int32_t plotNumber, const zrt_char* target) {
    static std::u16string slot;
    return guard("zrtDiagSavePlot", abi::emptyText(),
                 [&] { return abi::keep(slot, savePlot(plotNumber, in(target))); });
}

int32_t ZRT_API zrtDiagClosePlots(void) {
    return guard("zrtDiagClosePlots", 0, [] {
        closePlotWindows();
        return 1;
    });
}
