// The parameter line parser, and whole runs of the batch driver on a "/sel"
// script with the parameters of the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "fuzz_sandbox.h"
#include "script/driver.h"
#include "script/flags.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enterSandbox();
    zrt::resetLibraryForTests();
    // Parsing alone touches no file: the parser sees the input as it is.
    const std::string raw(reinterpret_cast<const char*>(data), size);
    zrt::ParseCmdLine(raw);

    // A run: the first line holds the parameters, the rest is the selection.
    // Neither may name a file outside the sandbox. "/" separates parameters,
    // so without "\" and quotes no value can hold a folder separator; the
    // selection loses its separators and the quote that would end it.
    const std::size_t cut = raw.find('\n');
    std::string parameters = cut == std::string::npos ? std::string() : raw.substr(0, cut);
    for (char& c : parameters)
        if (c == '\\' || c == '\'' || c == '"') c = ' ';
    const std::string rest = cut == std::string::npos ? raw : raw.substr(cut + 1);
    std::string selection = sandboxedNoSlash(reinterpret_cast<const std::uint8_t*>(rest.data()),
                                             rest.size());
    for (char& c : selection)
        if (c == '\'') c = '`';
    zrt::resetLibraryForTests();
    zrt::zrtEvalMain(parameters + " /sel:'" + selection + "'");
    return 0;
}
