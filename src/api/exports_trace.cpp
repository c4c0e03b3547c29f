// Exports of the library trace, the collected error messages and the switches.
#include <algorithm>
#include <cstdint>
#include <string>

#include "api/abi.h"
#include "base/errors.h"
#include "numerics/matrix.h"
#include "ui/matrixprint.h"
#include "log/trace.h"

using namespace zrt;
using zrt::abi::guard;

namespace {

// Length in bytes (two per character); with a buffer, copies at most maxChars
// units including the terminating zero; with show, offers the text for the clipboard.
int32_t textExport(zrt_char* buffer, int32_t maxChars, zrt_byte show, const std::string& text,
                   const char* heading) {
    const std::u16string t = toUtf16(text);
    if (maxChars > 0 && buffer) abi::copyOut(buffer, maxChars - 1, t);
    if (maxChars > 0 && show) showWithCopyOffer(heading, text);
    return static_cast<int32_t>(std::min<std::size_t>(t.size() * 2, 0x7FFFFFFF));
}

}  // namespace

int32_t ZRT_API SetDebugF(int32_t mode) {
    return guard("SetDebugF", 0, [&] { return zrt::SetDebugF(mode); });
}

int32_t ZRT_API GetDebugLog(zrt_char* buffer, int32_t maxChars, zrt_byte show) {
    return guard("GetDebugLog", 0, [&] {
        return textExport(buffer, maxChars, show, debugLog(), "DEBUG LOG:");
    });
}

int32_t ZRT_API GetErrorMsgs(zrt_char* buffer, int32_t maxChars, zrt_byte show) {
    return guard("GetErrorMsgs", 0, [&] {
        return textExport(buffer, maxChars, show, errorLog(), "ERROR MESSAGES:");
    });
}

int32_t ZRT_API SetErrorMsgsF(int32_t mode) {
    return guard("SetErrorMsgsF", 0, [&] { return zrt::SetErrorMsgsF(mode); });
}

int32_t ZRT_API ShowMsgs(int32_t mode) {
    return guard("ShowMsgs", 0, [&] { return zrt::ShowMsgs(mode); });
}

const zrt_char* ZRT_API aPrint(const zrt_char* destination, const zrt_char* format,
                               const zrt_char* heading, const zrt_char* separator, int32_t rows,
                               int32_t cols, const double* elements, zrt_byte rowVector,
                               zrt_byte colVector) {
    static std::u16string slot;
    return guard("aPrint", abi::emptyText(), [&] {
        const std::string sep = abi::in(separator);
        // Without elements only the heading is printed; with them, a size or a
        // separator the text could not hold is refused as the display exports
        // refuse it: an empty text, the code in e_error and the matrix status.
        if (elements && rows > 0 && cols > 0) {
            const std::int64_t n = std::int64_t{rows} * cols;
            MatrixStatus status = MatrixStatus::Ok;
            std::string detail;
            if (n > kMaxShownElements) {
                status = MatrixStatus::OrdersNotValid;
                detail = "rows = " + std::to_string(rows) + ", cols = " + std::to_string(cols) +
                         ": more than the " + std::to_string(kMaxShownElements) +
                         " elements a matrix text shows";
            } else if (!separatorsFit(n, sep)) {
                status = MatrixStatus::InvalidParameter;
                detail = "separator of " + std::to_string(sep.size()) + " characters between " +
                         std::to_string(n) + " elements: more than " +
                         std::to_string(kMaxSeparatorText) + " characters of separators";
            }
            if (status != MatrixStatus::Ok) {
                setMatrStatus(status);
                failReplacing(errorCodeOf(status), "aPrint", detail);
                return abi::emptyText();
            }
        }
        return abi::keep(slot, zrt::aPrint(abi::in(destination), abi::in(format), abi::in(heading),
                                           sep, elements, rows, cols,
                                           {rowVector != 0, colVector != 0}));
    });
}
