// The script-file reader on arbitrary bytes, with and without byte-order
// marks: decoding alone, and the driver's read of an input file.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "api/lifecycle.h"
#include "fuzz_sandbox.h"
#include "script/files.h"
#include "script/flags.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enterSandbox();
    zrt::resetLibraryForTests();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string text, refusal;
    zrt::decodeTextFile(bytes, text, refusal);
    // Every line the reader gives ends with "\r\n".
    if (!text.empty() && (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0))
        __builtin_trap();

    std::ofstream("input.zrt", std::ios::binary | std::ios::trunc) << bytes;
    zrt::ParseCmdLine("/i input.zrt");
    zrt::LoadSaveFile(zrt::FileMode::ReadInput);
    return 0;
}
