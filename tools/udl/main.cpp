// quillet_udl: writes Quillet.udl.xml, the Notepad++ user-defined language for
// Quillet scripts, from the tables the interpreter and the evaluator read.
// Usage: quillet_udl OUTPUT-FILE
#include <cstdio>
#include <string>

#include "plugin/udl.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: quillet_udl OUTPUT-FILE\n");
        return 2;
    }
    const std::string text = zrt::udlText();
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
