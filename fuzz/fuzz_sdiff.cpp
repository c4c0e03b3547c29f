// The differentiator on arbitrary formula text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sdiff/sdiff.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string formula(reinterpret_cast<const char*>(data), size);
    std::string result;
    zrt::eDiff(formula, "x", result);
    return 0;
}
