#include "base/reset.h"

#include "base/errors.h"
#include "base/numtext.h"

namespace zrt {

void resetBaseLayer() {
    resetErrors();
    resetNumText();
}

}  // namespace zrt
