// Exports of the matrix store.
#include <type_traits>

#include "api/abi.h"
#include "base/errors.h"
#include "evaluator/matrixexpr.h"
#include "memory/matrixstore.h"
#include "ui/matrixprint.h"

using namespace zrt;
using zrt::abi::guard;
using zrt::abi::in;

static_assert(std::is_same_v<int, int32_t>, "rows and columns cross the boundary as int");

intptr_t ZRT_API SetMatrix(const zrt_char* name, intptr_t address, int32_t rows, int32_t cols,
                           zrt_byte resultKind) {
    return guard("SetMatrix", intptr_t{0}, [&] {
        return zrt::SetMatrix(in(name), reinterpret_cast<const double*>(address), rows, cols,
                              resultKind != 0);
    });
}

intptr_t ZRT_API SetStrMatrix(const zrt_char* definition, zrt_byte resultKind, zrt_byte evaluate) {
    return guard("SetStrMatrix", intptr_t{0}, [&] {
        return zrt::SetStrMatrix(in(definition), resultKind != 0,
                                 evaluate != 0 ? &zrt::readMatrixElement : nullptr);
    });
}

intptr_t ZRT_API FindMatrix(const zrt_char* key, int32_t mode, int32_t* rows, int32_t* cols,
                            zrt_byte logF) {
    return guard("FindMatrix", intptr_t{0},
                 [&] { return zrt::FindMatrix(in(key), mode, rows, cols, logF != 0); });
}

int32_t ZRT_API GetMatrixByLong(intptr_t source, double* destination, int32_t rows, int32_t cols) {
    return guard("GetMatrixByLong", 15,
                 [&] { return zrt::GetMatrixByLong(source, destination, rows, cols); });
}

const zrt_char* ZRT_API GetMatrixList(zrt_byte withValues) {
    static std::u16string slot;
    return guard("GetMatrixList", abi::emptyText(),
                 [&] { return abi::keep(slot, zrt::GetMatrixList(withValues != 0)); });
}

void ZRT_API ClearMatrixList(intptr_t keep) {
    abi::guardVoid("ClearMatrixList", [&] { zrt::ClearMatrixList(keep); });
}
