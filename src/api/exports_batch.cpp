// Export of the batch driver.
#include "api/abi.h"
#include "script/batchrun.h"
#include "script/driver.h"

int32_t ZRT_API zrtEvalMain(const zrt_char* parameterLine) {
    return zrt::abi::guard("zrtEvalMain", zrt::kExitNoInput,
                           [&] { return zrt::zrtEvalMain(zrt::abi::in(parameterLine)); });
}
