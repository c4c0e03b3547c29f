// The evaluator on arbitrary formula text: no crash, no hang, no leak.
#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "evaluator/evaluator.h"
#include "memory/varstore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool once = [] {
        zrt::resetLibraryForTests();
        zrt::SetVarFunct("x", "2.5", zrt::ListKind::Vars);
        zrt::SetVarFunct("f", "x^2+1", zrt::ListKind::Functs);
        return true;
    }();
    (void)once;
    const std::string formula(reinterpret_cast<const char*>(data), size);
    double value = 0;
    zrt::e_eval(formula, &value, 1);
    zrt::de_eval(formula, 0);
    return 0;
}
