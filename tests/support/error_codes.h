// Codes print as their numbers in test messages.
#pragma once

#include <ostream>

#include "base/errors.h"

namespace zrt {
inline std::ostream& operator<<(std::ostream& os, ErrorCode code) {
    return os << codeNumber(code);
}
inline std::ostream& operator<<(std::ostream& os, MatrixStatus status) {
    return os << codeNumber(status);
}
}  // namespace zrt
