// The power function of "^" and of the geometric mean. The C runtimes of
// Linux and Windows round pow() differently in the last bit; this one uses only
// exactly rounded IEEE operations, so every build gives the same result, and
// it is accurate to well below half a unit in the last place.
#pragma once

namespace zrt {

// x raised to y, with the special values of C's pow() (0^0 = 1, (-8)^(1/3) is
// not a number, (-2)^3 = -8, overflow gives infinity).
double powerOf(double x, double y);

}  // namespace zrt
