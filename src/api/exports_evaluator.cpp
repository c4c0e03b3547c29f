// Exports of the evaluator.
#include <algorithm>
#include <cstring>

#include "api/abi.h"
#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "script/batch_state.h"

using namespace zrt;
using zrt::abi::guard;

namespace {

// A formula as UTF-8 in a buffer that keeps its capacity: one-shot
// evaluations of ASCII formulas allocate nothing once it has grown.
const std::string& formulaText(const zrt_char* text) {
    static std::string buffer;
    buffer.clear();
    if (!text) return buffer;
    std::size_t n = 0;
    bool ascii = true;
    for (; text[n]; ++n) ascii = ascii && text[n] < 0x80;
    if (!ascii) return buffer = fromUtf16(abi::u16(text));
    buffer.resize(n);
    for (std::size_t i = 0; i < n; ++i) buffer[i] = static_cast<char>(text[i]);
    return buffer;
}

}  // namespace

int32_t ZRT_API e_eval(const zrt_char* formula, double* result, int32_t check) {
    return guard("e_eval", 0, [&] { return zrt::e_eval(formulaText(formula), result, check); });
}

double ZRT_API de_eval(const zrt_char* formula, int32_t check) {
    return guard("de_eval", 0.0, [&] { return zrt::de_eval(formulaText(formula), check); });
}

int32_t ZRT_API e_evals(const zrt_char* formula, double start, const zrt_char* variable, double end,
                        int32_t steps, double* xs, double* ys, double* bounds) {
    return guard("e_evals", 0, [&] {
        // Own copies: the tabulation outlives any other call that converts a formula.
        const std::string f = abi::in(formula);
        const std::string v = abi::in(variable);
        return zrt::codeNumber(zrt::e_evals(f, start, v, end, steps, xs, ys, bounds));
    });
}

int32_t ZRT_API GetResultType(void) { return zrt::GetResultType(); }

int32_t ZRT_API GetEvalResult(zrt_char* buffer, int32_t copyFlag) {
    return guard("GetEvalResult", 0, [&] {
        const std::u16string text = toUtf16(zrtResStr());
        const int length = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
        if (copyFlag == 0) return length;
        if (!buffer) return 0;
        // The caller filled the buffer with a placeholder of the wanted length.
        const int room = abi::callerTextLength(buffer);
        const int n = std::min(room, length);
        std::memcpy(buffer, text.data(), static_cast<std::size_t>(n) * sizeof(zrt_char));
        if (n < room) buffer[n] = 0;
        return n;
    });
}

int32_t ZRT_API SetBoolSign(int32_t value) {
    return guard("SetBoolSign", 0, [&] { return zrt::SetBoolSign(value); });
}

int32_t ZRT_API ReSetZeRarove(void) {
    return guard("ReSetZeRarove", 0, [&] { return zrt::ReSetZeRarove(); });
}
