// Exports of the element order and the array copies.
#include <cstring>

#include "api/abi.h"
#include "memory/elemorder.h"

using namespace zrt;
using zrt::abi::guard;

int32_t ZRT_API aElemOrder(double* probe) {
    return guard("aElemOrder", -1, [&] { return zrt::aElemOrder(probe); });
}

int32_t ZRT_API aElemOrderEx(double* array, int32_t action) {
    return guard("aElemOrderEx", 0, [&] { return zrt::aElemOrderEx(array, action); });
}

int32_t ZRT_API aElemOrderGet(void) { return zrt::aElemOrderGet(); }

int32_t ZRT_API aElemOrderSet(int32_t order) { return zrt::aElemOrderSet(order); }

int32_t ZRT_API aElemOrderSt(const zrt_char* label) {
    return guard("aElemOrderSt", -1, [&] {
        zrt::aElemOrderSt(abi::in(label));
        return zrt::aElemOrderGet();
    });
}

namespace {

int32_t plainCopy(const double* source, int32_t rows, int32_t cols, double* destination) {
    if (source && destination && rows > 0 && cols > 0 && int64_t{rows} * cols <= (int64_t{1} << 40))
        std::memmove(destination, source, static_cast<std::size_t>(int64_t{rows} * cols) * sizeof(double));
    return -1;
}

}  // namespace

int32_t ZRT_API aCopy(const double* source, int32_t rows, int32_t cols, double* destination) {
    return plainCopy(source, rows, cols, destination);
}

int32_t ZRT_API aDupl(const double* source, int32_t rows, int32_t cols, double* destination) {
    return plainCopy(source, rows, cols, destination);
}

int32_t ZRT_API aCopyArray(const double* source, double* destination, int32_t rows, int32_t cols) {
    return guard("aCopyArray", -1, [&] {
        zrt::aCopyArray(source, destination, rows, cols);
        return -1;
    });
}
