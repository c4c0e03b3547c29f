#include "base/barrier.h"

#include <string>

#include "base/errors.h"

namespace zrt {

void reportCaught(const char* proc, const char* what) noexcept {
    try {
        failReplacing(ErrorCode::Stopped, proc, std::string("Exception: ") + what);
    } catch (...) {
        // Nothing more can be done without memory; e_error already says it.
    }
}

}  // namespace zrt
