// Matrix definitions as scripts and hosts give them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "evaluator/matrixexpr.h"
#include "memory/matrixstore.h"
#include "ui/matrixprint.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrt::resetLibraryForTests();
    const std::string definition(reinterpret_cast<const char*>(data), size);
    zrt::SetStrMatrix(definition, false, &zrt::readMatrixElement);
    zrt::GetMatrixList(true);
    return 0;
}
