#include "log/version.h"

#include "platform/platform.h"
#include "zrt_version.h"

namespace zrt {

std::string libraryFileVersion() {
    // The version block of the library file (Quillet.dll); a native library
    // has none and says what the Windows build carries.
    std::string fileVersion, productVersion;
    unsigned error = 0;
    if (platform::fileVersion(platform::modulePath(), fileVersion, productVersion, error))
        return fileVersion;
    return ZRT_VERSION_TEXT;
}

}  // namespace zrt
