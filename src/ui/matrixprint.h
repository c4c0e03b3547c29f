// The matrix printer: the text of a vector or a matrix, sent to a destination.
#pragma once

#include <string>
#include <string_view>

namespace zrt {

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

// A value with exactly `decimals` digits after the point, rounded to nearest.
std::string fixedDecimals(double value, int decimals);

}  // namespace zrt
