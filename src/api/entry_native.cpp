// The load notification of the native library: the same initialisation as
// the Windows DLL runs at process attach. (Nothing runs at unload: the fake
// hosts of the tests are gone by then; tests call DetachProcess themselves.)
#include "api/lifecycle.h"

namespace {

__attribute__((constructor)) void libraryLoaded() {
    zrt::processAttach();
}

}  // namespace
