#include "api/abi.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"

namespace zrt::abi {

int copyOut(zrt_char* buffer, int maxChars, std::u16string_view text) {
    // Even an empty copy ends in the zero: the buffer holds maxChars + 1 units.
    if (!buffer || maxChars < 0) return 0;
    const int n = static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(maxChars)));
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(n) * sizeof(zrt_char));
    buffer[n] = 0;
    return n;
}

}  // namespace zrt::abi
