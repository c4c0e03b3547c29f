// Scripts and parameter lines name files: a fuzzer must not write anywhere but
// into a folder of its own. The harnesses work in a fresh temporary folder and
// turn every folder separator of their input into "_", so only plain names in
// that folder can be made.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <string>

inline void enterSandbox() {
    static const bool entered = [] {
        char dir[] = "/tmp/quillet-fuzz-XXXXXX";
        return mkdtemp(dir) && chdir(dir) == 0;
    }();
    if (!entered) abort();
}

inline std::string sandboxed(const unsigned char* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (char& c : text)
        if (c == '\\') c = '_';
    return text;
}

inline std::string sandboxedNoSlash(const unsigned char* data, std::size_t size) {
    std::string text = sandboxed(data, size);
    for (char& c : text)
        if (c == '/') c = '_';
    return text;
}
