// Exports of the numerical integration.
#include "api/abi.h"
#include "base/errors.h"
#include "calculus/integration.h"
#include "log/trace.h"
#include "platform/platform.h"

using zrt::abi::guard;
using zrt::abi::in;

namespace {

// A host that asked for error boxes sees a missing result address (with the
// first message switch bit) and an odd Simpson count (with any bit) in one;
// e_error is set again after the box, which lets the host run code.
void showRefusal(zrt::ErrorCode code, bool resultGiven, int method, int n) {
    const char* text = nullptr;
    const char* title = nullptr;
    if (code == zrt::ErrorCode::ValueNotDefined && !resultGiven && (zrt::messageSwitch() & 1)) {
        text = zrt::kNoResultAddress;
        title = "ZeRarove: Integrate";
    } else if (code == zrt::ErrorCode::OddSimpsonSteps && method == zrt::kSimpson && n % 2 != 0 &&
               zrt::messageSwitch() != 0) {
        text = zrt::kSimpsonNeedsEvenN;
        title = "Solver";
    }
    if (!text) return;
    zrt::platform::messageBox(text, title, zrt::platform::Buttons::Ok, zrt::platform::Icon::Error);
    zrt::setEError(code);
}

}  // namespace

int32_t ZRT_API Integrate(const zrt_char* formula, double a, double b, int32_t n, int32_t method,
                          const zrt_char* variable, double* result) {
    return guard("Integrate", 0, [&] {
        const int code = zrt::Integrate(in(formula), a, b, n, method, in(variable), result);
        showRefusal(zrt::errorCodeOf(code), result != nullptr, method, n);
        return code;
    });
}

double ZRT_API dIntegrate(const zrt_char* formula, double a, double b, int32_t n, int32_t method,
                          const zrt_char* variable) {
    return guard("dIntegrate", 0.0, [&] {
        const double value = zrt::dIntegrate(in(formula), a, b, n, method, in(variable));
        showRefusal(zrt::eError(), true, method, n);
        return value;
    });
}

int32_t ZRT_API IntBezier2D(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, int32_t, int32_t, int32_t) {
    return 0;
}
