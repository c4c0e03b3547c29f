// Exports of the symbolic differentiator.
#include "api/abi.h"
#include "sdiff/sdiff.h"

using namespace zrt;
using zrt::abi::guard;
using zrt::abi::in;

int32_t ZRT_API e_diff(const zrt_char* formula, const zrt_char* variable, zrt_char* buffer,
                       int32_t length) {
    (void)length;  // the capacity is the text the caller put into the buffer
    return guard("e_diff", 0, [&] {
        std::string result;
        const int n = eDiff(in(formula), in(variable), result);
        if (buffer && !result.empty()) {
            const std::u16string text = toUtf16(result);
            abi::copyOut(buffer, abi::callerTextLength(buffer), text);
        }
        return static_cast<int32_t>(n);
    });
}

zrt_byte ZRT_API GetLast_diffErr(void) {
    return zrt::GetLast_diffErr();
}

zrt_byte ZRT_API SetDiffLogF(zrt_byte mode, const zrt_char* file) {
    return guard("SetDiffLogF", zrt_byte{0}, [&] { return zrt::SetDiffLogF(mode, in(file)); });
}

int32_t ZRT_API GetDiff_OperAndFuncs(zrt_char* buffer) {
    return guard("GetDiff_OperAndFuncs", 0, [&] {
        const std::u16string text = toUtf16(diffOperAndFuncs());
        // The caller's buffer holds the whole text: it was sized from this length.
        if (buffer) abi::copyOut(buffer, static_cast<int>(text.size()), text);
        return static_cast<int32_t>(text.size() * 2 + 1);
    });
}
