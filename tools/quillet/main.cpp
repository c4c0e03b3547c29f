// quillet: the command line face of the Zerith math library.
#include <cstdio>
#include <cstring>

namespace {

const char* const kVersion = "0.0.4.8";

void printUsage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: quillet [--help | --version]\n"
                 "\n"
                 "Quillet evaluates formulas and scripts with the Zerith math library.\n"
                 "The batch driver (quillet /i script.zrt /o) is not part of this build yet.\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("quillet %s (Zerith math library)\n", kVersion);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        printUsage(stdout);
        return 0;
    }
    printUsage(stderr);
    return 2;
}
