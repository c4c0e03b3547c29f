// The evaluator on arbitrary formula text, with a variable, user functions and
// matrices in memory: no crash, no hang, no leak.
#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "evaluator/evaluator.h"
#include "evaluator/matrixexpr.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"

namespace {

void storeMemory() {
    zrt::resetLibraryForTests();
    zrt::SetVarFunct("x", "2.5", zrt::ListKind::Vars);
    zrt::SetVarFunct("n", "-3", zrt::ListKind::Vars);
    zrt::SetVarFunct("f", "x^2+1", zrt::ListKind::Functs);
    zrt::SetVarFunct("g", "f*sin(x)", zrt::ListKind::Functs);
    zrt::SetStrMatrix("[A] = [1,2;3,4]", false, &zrt::readMatrixElement);
    zrt::SetStrMatrix("[v] = [1;-2;0.5]", false, &zrt::readMatrixElement);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    storeMemory();
    const std::string formula(reinterpret_cast<const char*>(data), size);
    double value = 0;
    zrt::e_eval(formula, &value, 1);
    zrt::e_eval(formula, nullptr, 0);
    zrt::de_eval(formula, 0);
    return 0;
}
