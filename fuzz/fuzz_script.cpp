// The script interpreter on arbitrary script text (memory commands included).
#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "fuzz_sandbox.h"
#include "script/interpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enterSandbox();
    zrt::resetLibraryForTests();
    const std::string script = sandboxedNoSlash(data, size);
    zrt::ScriptOptions options;
    zrt::sEval(script, options);
    return 0;
}
