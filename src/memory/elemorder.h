// Element order of host arrays: whether two-dimensional arrays handed in by
// host programs lie in memory row after row (0) or column after column (1,
// Visual Basic). Inside the library matrices are always row after row.
#pragma once

#include <string_view>

#include "base/errors.h"

namespace zrt {

// The flag: 1 column order, 0 row order, -1 not set (load-time value).
int aElemOrderGet();

// 0 or 1 is stored and gives Ok (-1); anything else sets the flag to -1 and
// gives InvalidElemOrder (17), as numbers: aElemOrderEx hands them on.
int aElemOrderSet(int order);

// "Visual Basic" or "VB" select column order, any other label row order.
void aElemOrderSt(std::string_view label);

// Reads memory position 1 of a 2 x 2 probe array that the host filled so that
// row order puts 2.0 there: row order (0) when it holds 2.0, else column (1).
int aElemOrder(const double* probe);

// 0: aElemOrder(array); 2: aElemOrderSet(first value of the array, as an
// integer); 3: aElemOrderGet(); other actions: 0.
int aElemOrderEx(double* array, int action);

// While set, aCopyArray copies plainly whatever the flag says (the polynomial
// fitting routines set it while they work).
void setPlainCopy(bool on);
bool plainCopy();

// aCopyArray: host array to library layout. With the flag 1 (and no plain-copy
// override) element k of the source, read column after column, goes to row
// k mod rows, column k div rows of the row-order destination; otherwise the
// rows x cols values are copied unchanged. Nothing is copied unless both
// pointers are given and rows x cols is a positive count.
void aCopyArray(const double* source, double* destination, int rows, int cols);

// The way back: library layout (row order) to the host's order.
void copyToHost(const double* source, double* destination, int rows, int cols);

void resetElemOrder();

}  // namespace zrt
