#include "script/evaluation.h"

#include <algorithm>
#include <cstdint>

#include "evaluator/evaluator.h"
#include "evaluator/matrixexpr.h"
#include "base/numtext.h"
#include "memory/matrixstore.h"
#include "ui/matrixprint.h"

namespace zrt {

namespace {

Evaluated fromRecord(const MatrixRecord& record) {
    Evaluated m;
    m.isMatrix = true;
    m.rows = record.rows;
    m.cols = record.cols;
    m.elements = record.elements;
    return m;
}

// Matrices are referred to with their brackets; a name given without them
// means the bracketed one.
std::string bracketed(std::string name) {
    if (name.empty() || name.front() != '[') name.insert(name.begin(), '[');
    if (name.back() != ']') name += ']';
    return name;
}

}  // namespace

Evaluated evaluateFormula(std::string_view formula) {
    Evaluated out;
    double value = 0;
    const int kind = e_eval(formula, &value, 1);
    if (eError() != ErrorCode::None) {
        out.error = eError();
        return out;
    }
    if (kind != 1) {
        out.number = value;
        return out;
    }
    const MatrixRecord* record = findMatrixByAddress(static_cast<std::intptr_t>(value));
    if (!record) {
        setEError(ErrorCode::MatrixNotFound);
        out.error = ErrorCode::MatrixNotFound;
        return out;
    }
    return fromRecord(*record);
}

std::string printMatrix(const Evaluated& matrix, int decimals) {
    // The printer shows at most kMaxPrintedDecimals decimals whatever the
    // format says: "/dec:2000000000" must not build a format of that length.
    decimals = std::min(decimals, kMaxPrintedDecimals);
    const std::string format = decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0')
                                            : std::string("0.");
    return aPrint("String", format, "", "", matrix.elements.data(), matrix.rows, matrix.cols,
                  {false, matrix.cols == 1});
}

bool storeMatrixResult(const std::string& name, const Evaluated& matrix) {
    std::vector<double> elements = matrix.elements;
    setEError(ErrorCode::None);
    storeMatrix(bracketed(name), std::move(elements), matrix.rows, matrix.cols, false);
    return eError() == ErrorCode::None;
}

bool storeMatrixDefinition(const std::string& definition, bool evaluateElements) {
    setEError(ErrorCode::None);
    SetStrMatrix(definition, false, evaluateElements ? &readMatrixElement : nullptr);
    return eError() == ErrorCode::None;
}

Evaluated findMatrixForShow(const std::string& name) {
    const MatrixRecord* record = findMatrixByName(lowerAscii(name));
    if (!record) record = findMatrixByName(lowerAscii(bracketed(name)));
    if (!record) {
        Evaluated missing;
        missing.error = ErrorCode::MatrixNotFound;
        return missing;
    }
    return fromRecord(*record);
}

}  // namespace zrt
