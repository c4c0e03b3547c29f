// What the interpreter needs from the evaluator and the matrix store, in the
// shape it prints and stores.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace zrt {

struct Evaluated {
    ErrorCode error = ErrorCode::None;
    bool isMatrix = false;
    double number = 0;
    int rows = 0;
    int cols = 0;
    std::vector<double> elements;  // row after row
};

// Evaluates a formula (e_eval); a matrix result comes with its elements.
Evaluated evaluateFormula(std::string_view formula);

// The matrix printer's text of a result, values with `decimals` decimals.
std::string printMatrix(const Evaluated& matrix, int decimals);

// StoExpr with a matrix result: stores it under `name`; false leaves e_error set.
bool storeMatrixResult(const std::string& name, const Evaluated& matrix);

// Matr, Vect, DimX: a definition text "name;rows;cols;elements..." to the
// store; false leaves the code in e_error.
bool storeMatrixDefinition(const std::string& definition, bool evaluateElements);

// The stored matrix for Show; error 14 when there is none.
Evaluated findMatrixForShow(const std::string& name);

}  // namespace zrt
