// The prepared form of a formula of one variable against the point's text: at
// every point taken from the input, the same code, value bits, error code and
// error log, or the harness stops (abort counts as a crash); and the points
// evaluated all at once as one by one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "api/lifecycle.h"
#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "evaluator/pointformula.h"
#include "evaluator/preparedformula.h"
#include "memory/varstore.h"

namespace {

bool sameBits(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Outcome {
    int code;
    double value;
    zrt::ErrorCode error;
    std::string log;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrt::resetLibraryForTests();
    FuzzedDataProvider in(data, size);
    const bool stored = in.ConsumeBool();
    if (in.ConsumeBool()) zrt::SetVarFunct("a", "1.5", zrt::ListKind::Vars);
    const std::string variable = in.ConsumeRandomLengthString(6);
    double points[8];
    for (double& p : points) p = in.ConsumeFloatingPoint<double>();
    const std::string formula = in.ConsumeRemainingBytesAsString();
    if (formula.size() > 4096) return 0;

    zrt::PointEvaluator table(formula, variable);
    zrt::PointFormula text(formula, variable);
    zrt::StoredFormula solver(formula, variable);
    for (double x : points) {
        const auto run = [&](int how) {
            if (stored) zrt::SetVarFunct(variable, zrt::FixText(x), zrt::ListKind::Vars);
            zrt::LogError("", 0, "", zrt::kLogClear);
            zrt::setEError(zrt::ErrorCode::None);
            Outcome o{0, -12345, zrt::ErrorCode::None, {}};
            switch (how) {
                case 0: o.code = table.at(x, &o.value); break;
                case 1: o.code = zrt::e_eval(text.textAt(x), &o.value, 0); break;
                case 2: o.code = solver.eEval(&o.value); break;
                default: o.code = zrt::e_eval(formula, &o.value, 0); break;
            }
            o.error = zrt::eError();
            o.log = zrt::errorLog();
            return o;
        };
        const int first = stored ? 2 : 0;
        const Outcome a = run(first), b = run(first + 1);
        if (a.code != b.code || a.error != b.error || !sameBits(a.value, b.value) || a.log != b.log)
            std::abort();
    }
    // The points at once: the values evaluate() gives, up to the first failure.
    const zrt::PreparedFormula form(formula, variable, zrt::SlotKind::Substring);
    if (!form.ready()) return 0;
    double slots[8], values[8];
    std::size_t count = 0;
    for (double x : points)
        if (zrt::pointTextValue(x, slots[count])) ++count;
    const std::size_t got = form.evaluateBlock(slots, values, count);
    std::size_t expected = 0;
    for (double value = 0; expected < count && form.evaluate(slots[expected], value); ++expected)
        if (expected < got && !sameBits(value, values[expected])) std::abort();
    if (got != expected) std::abort();
    return 0;
}
