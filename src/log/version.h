// The library's version texts.
#pragma once

#include <string>

namespace zrt {

// The file version of the library ("0.0.4.8").
std::string libraryFileVersion();

}  // namespace zrt
