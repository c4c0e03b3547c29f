#include "ui/matrixprint.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "base/errors.h"
#include "base/numtext.h"
#include "memory/matrixstore.h"
#include "platform/platform.h"
#include "log/trace.h"

namespace zrt {

std::string fixedDecimals(double value, int decimals) {
    if (!std::isfinite(value)) return FixText(value);
    decimals = std::clamp(decimals, 0, kMaxPrintedDecimals);
    char buf[420];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text(buf, r.ptr);
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

bool separatorsFit(std::int64_t elements, std::string_view separator) {
    const std::int64_t each = separator.empty() ? 1 : static_cast<std::int64_t>(separator.size());
    return elements <= 0 || each <= kMaxSeparatorText / elements;
}

std::string aPrint(std::string_view destination, std::string_view format, std::string_view heading,
                   std::string_view separator, const double* elements, int rows, int cols,
                   PrintFlags flags) {
    const std::size_t point = format.find('.');
    const int decimals =
        point == std::string_view::npos ? 4 : static_cast<int>(format.size() - point - 1);
    const std::string sep = separator.empty() ? std::string("\t") : std::string(separator);
    const std::string dest = destination.empty() ? std::string("MsgBox") : std::string(destination);

    std::string text(heading);
    text += "\r\n";
    if (elements && rows > 0 && cols > 0) {
        const bool vector = flags.rowVector || flags.colVector;
        const std::int64_t n = std::int64_t{rows} * cols;
        for (std::int64_t k = 0; k < n; ++k) {
            const std::int64_t r = k / cols, c = k % cols;
            if (vector) {
                text += "V(" + std::to_string(k) + ")=";
            } else {
                text += "A(" + std::to_string(r) + "," + std::to_string(c) + ")=";
            }
            text += fixedDecimals(elements[k], decimals);
            if (vector) {
                if (k + 1 < n) text += sep;
            } else if (c + 1 < cols) {
                text += sep;
            } else {
                text += "\r\n";
            }
        }
    }
    if (dest == "MsgBox") {
        platform::messageBox(text, "Zerith.dll");
    } else if (dest == "Debug") {
        if (debugMode() != 0) DebugAdd(text, "aPrint");
    }
    return text;
}

std::string GetMatrixList(bool withValues) {
    const auto& records = matrixRecords();
    std::string text = "Matrix List: Count:" + std::to_string(records.size()) + "\r\n";
    int number = 0;
    // The values of all matrices together are listed up to the size of one
    // matrix text: a store of many large matrices would list gigabytes.
    std::int64_t listed = 0;
    bool cut = false;
    for (const auto& rp : records) {
        const MatrixRecord& r = *rp;
        text += " - Name: " + r.name + " - nr. " + std::to_string(++number) + "\r\n";
        text += "     Addr: " + std::to_string(r.address()) + "\r\n";
        text += "     Internal: " + std::string(r.internal ? "-1" : "0") + "\r\n";
        text += "     rows: " + std::to_string(r.rows) + "\r\n";
        text += "     cols: " + std::to_string(r.cols) + "\r\n";
        text += "     index: " + std::to_string(r.index) + "\r\n";
        text += "     vector: " + std::string(r.vector ? "-1" : "0") + "\r\n";
        const std::int64_t n = std::int64_t{r.rows} * r.cols;
        if (withValues && (cut || listed + n > kMaxShownElements)) {
            text += "     values: " + std::to_string(n) + " elements, not listed\r\n";
            if (!cut) {
                cut = true;
                failReplacing(ErrorCode::InvalidArgument, "GetMatrixList",
                              "The values of " + r.name +
                                  " and of every matrix after it are not listed: a listing shows "
                                  "at most " +
                                  std::to_string(kMaxShownElements) + " values");
            }
        } else if (withValues) {
            listed += n;
            const PrintFlags flags{r.vector && r.rows == 1, r.vector && r.rows != 1};
            const std::string printed =
                aPrint("String", "", "", "", r.elements.data(), r.rows, r.cols, flags);
            // The printer starts with the (empty) heading line; each element line is indented.
            std::size_t p = printed.find("\r\n");
            p = p == std::string::npos ? printed.size() : p + 2;
            while (p < printed.size()) {
                std::size_t e = printed.find("\r\n", p);
                if (e == std::string::npos) e = printed.size();
                text += "     ";
                text.append(printed, p, e - p);
                text += "\r\n";
                p = e + 2;
            }
        }
    }
    return text;
}

}  // namespace zrt
