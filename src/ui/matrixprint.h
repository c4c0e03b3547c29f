// The matrix printer: the text of a vector or a matrix, sent to a destination.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/limits.h"

namespace zrt {

// Whether aPrint may put this separator ("\t" when empty) between `elements`
// elements within kMaxSeparatorText.
bool separatorsFit(std::int64_t elements, std::string_view separator);

struct PrintFlags {
    bool rowVector = false;
    bool colVector = false;
};

// aPrint: heading + "\r\n", then "V(i)=value" entries (vectors) or
// "A(r,c)=value" entries (matrices, rows ended by "\r\n"), indices from 0,
// separated by `separator` ("\t" when empty); values carry as many decimals
// as the format has characters after its first "." (4 without a point).
// Destination "MsgBox" (also when empty) shows the text in a box titled
// "Zerith.dll"; "Debug" sends it to the library trace; "String" and "File" only
// return it. Elements are row after row.
std::string aPrint(std::string_view destination, std::string_view format, std::string_view heading,
                   std::string_view separator, const double* elements, int rows, int cols,
                   PrintFlags flags);

// A value with exactly `decimals` digits after the point (0 to
// kMaxPrintedDecimals), rounded to nearest.
std::string fixedDecimals(double value, int decimals);

// The listing of the matrix store, "Matrix List: Count:n" with one block per
// record; with values, the elements too, indented by five blanks, up to
// kMaxShownElements values in all: from the first matrix beyond, a line
// "values: N elements, not listed" instead, e_error 13 and a log entry.
std::string GetMatrixList(bool withValues);

}  // namespace zrt
