#include "ui/version.h"

namespace zrt {

std::string libraryFileVersion() {
    return "0.0.4.8";
}

}  // namespace zrt
