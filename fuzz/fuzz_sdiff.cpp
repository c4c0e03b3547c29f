// The differentiator on arbitrary formula text and variable names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sdiff/sdiff.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first line names the variable, the rest is the formula.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\n');
    const std::string variable = cut == std::string::npos ? "x" : input.substr(0, cut);
    const std::string formula = cut == std::string::npos ? input : input.substr(cut + 1);
    std::string result;
    zrt::eDiff(formula, variable, result);
    return 0;
}
