// The parameter line parser and the memory-only runs of the batch driver.
#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "fuzz_sandbox.h"
#include "script/flags.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enterSandbox();
    zrt::resetLibraryForTests();
    // "/" separates parameters; without "\" no value can name another folder.
    const std::string line = sandboxed(data, size);
    zrt::ParseCmdLine(line);
    return 0;
}
