// The statistics words of a formula (min, max, avg, sum, sum2, prod, prod2,
// stddev, count, geom_mean, median, mean) over lists of operands.
#pragma once

#include "evaluator/lexer.h"

namespace zrt {

// Called right after the opening bracket: reads operands separated by ";"
// (each a full expression) and gives the statistic, in double precision.
double StatFunct(Tok word);

void resetStatistics();

}  // namespace zrt
