#include "memory/elemorder.h"

#include <cstdint>
#include <cstring>
#include <vector>


namespace zrt {

namespace {

struct ElemOrderState {
    int order = -1;
    bool plainCopy = false;
};

ElemOrderState& elemOrderState() {
    static ElemOrderState state;
    return state;
}

// rows x cols as a count of doubles, or 0 when it is not a sensible size.
std::size_t elementCount(int rows, int cols) {
    if (rows <= 0 || cols <= 0) return 0;
    const std::int64_t n = std::int64_t{rows} * cols;
    return n > (std::int64_t{1} << 40) ? 0 : static_cast<std::size_t>(n);
}

bool reorders() { return elemOrderState().order == 1 && !elemOrderState().plainCopy; }

}  // namespace

int aElemOrderGet() { return elemOrderState().order; }

int aElemOrderSet(int order) {
    if (order == 0 || order == 1) {
        elemOrderState().order = order;
        return codeNumber(MatrixStatus::Ok);
    }
    elemOrderState().order = -1;
    return codeNumber(MatrixStatus::InvalidElemOrder);
}

void aElemOrderSt(std::string_view label) {
    elemOrderState().order = label == "Visual Basic" || label == "VB" ? 1 : 0;
}

int aElemOrder(const double* probe) {
    if (!probe) return elemOrderState().order;
    elemOrderState().order = probe[1] == 2.0 ? 0 : 1;
    return elemOrderState().order;
}

int aElemOrderEx(double* array, int action) {
    switch (action) {
        case 0: return aElemOrder(array);
        case 2: {
            if (!array) return aElemOrderSet(-1);
            const double v = array[0];
            // Only 0 and 1 are orders; anything else (even out of the integer range) is not.
            return aElemOrderSet(v == 0.0 ? 0 : v == 1.0 ? 1 : -1);
        }
        case 3: return aElemOrderGet();
        default: return 0;
    }
}

void setPlainCopy(bool on) { elemOrderState().plainCopy = on; }

bool plainCopy() { return elemOrderState().plainCopy; }

namespace {

// Copies rows x cols values between a host array and the library's row
// order: with column order selected, element k of the column-order side is
// element (k mod rows, k div rows) of the row-order side.
void copyOrdered(const double* source, double* destination, int rows, int cols, bool toRowOrder) {
    const std::size_t n = elementCount(rows, cols);
    if (!source || !destination || n == 0) return;
    if (!reorders()) {
        if (source != destination) std::memmove(destination, source, n * sizeof(double));
        return;
    }
    // Reordering in place needs the source kept apart.
    std::vector<double> copy;
    if (source == destination) source = &(copy = std::vector<double>(source, source + n))[0];
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t rowOrder = static_cast<std::size_t>(cols) * (k % static_cast<std::size_t>(rows)) +
                                     k / static_cast<std::size_t>(rows);
        if (toRowOrder) {
            destination[rowOrder] = source[k];
        } else {
            destination[k] = source[rowOrder];
        }
    }
}

}  // namespace

void aCopyArray(const double* source, double* destination, int rows, int cols) {
    copyOrdered(source, destination, rows, cols, true);
}

void copyToHost(const double* source, double* destination, int rows, int cols) {
    copyOrdered(source, destination, rows, cols, false);
}

void resetElemOrder() { elemOrderState() = ElemOrderState{}; }

}  // namespace zrt
