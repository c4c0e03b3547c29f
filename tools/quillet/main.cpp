// quillet: the command line face of the Zerith math library. Its arguments,
// joined with blanks, are the parameter line of one batch run.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "base/numtext.h"
#include "platform/headless/headless.h"
#include "script/batch_state.h"
#include "script/batchrun.h"
#include "script/driver.h"
#include "script/evaluation.h"
#include "script/flags.h"
#include "script/interpreter.h"
#include "log/version.h"

namespace {

// Parameter words; a word alone or followed by ":" and a value.
const char* const kWords[] = {"i",   "o",   "a",    "nt",  "pb", "sclp", "sel", "del", "dec",
                              "lns", "lc",  "spl",  "log", "rset", "rep", "noh", "nln", "h",
                              "sm",  "lg",  "sf",   "cm",  "w",  "ab",   "gclp", "rr", "quit"};

bool isParameter(const std::string& arg, std::string& word, std::string& value) {
    if (arg.size() < 2 || arg[0] != '/') return false;
    const std::size_t colon = arg.find(':');
    word = zrt::lowerAscii(arg.substr(1, colon == std::string::npos ? std::string::npos : colon - 1));
    value = colon == std::string::npos ? std::string() : arg.substr(colon + 1);
    for (const char* w : kWords)
        if (word == w) return true;
    return false;
}

// A file name of this machine as the parameter line carries it: absolute
// (relative names mean the current folder here) and with "\" for "/".
std::string fileArgument(const std::string& name) {
    if (name.empty()) return name;
    std::error_code ec;
    std::filesystem::path p(name);
    if (p.is_relative()) p = std::filesystem::absolute(p, ec);
    std::string text = ec ? name : p.lexically_normal().string();
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

int exitStatus(int exitCode) {
    switch (exitCode) {
        case zrt::kExitCompleted: return 0;
        case zrt::kExitNotRead: return 2;
        case zrt::kExitNotWritten: return 3;
        case zrt::kExitCancelled: return 4;
        case zrt::kExitNoInput: return 5;
        default: return 1;
    }
}

void printUsage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: quillet PARAMETERS...      run a batch (quillet /h lists the parameters)\n"
                 "       quillet /i script.zrt /o    run a script file, output in Result.zrt beside it\n"
                 "       quillet - [PARAMETERS...]   run the script read from standard input\n"
                 "       quillet -e 'FORMULA'        evaluate one formula and print the result\n"
                 "       quillet --help | --version\n");
}

int evaluateOne(const std::string& formula) {
    const zrt::Evaluated v = zrt::evaluateFormula(formula);
    if (v.error != zrt::kNoError) {
        std::fprintf(stderr, "Error %d: %s\n", v.error, zrt::errorText(v.error).c_str());
        return 1;
    }
    const int decimals = zrt::batchFlags().decimals;
    if (v.isMatrix) {
        std::fputs(zrt::printMatrix(v, decimals).c_str(), stdout);
    } else {
        std::printf("%s\n", zrt::formatValue(v.number, decimals).c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    zrt::headless::setConsole(true);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printUsage(stderr);
        return 5;
    }
    if (args[0] == "--version") {
        std::printf("quillet %s (Zerith math library)\n", zrt::libraryFileVersion().c_str());
        return 0;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        printUsage(stdout);
        std::printf("\n%s\n", zrt::helpText().c_str());
        return 0;
    }
    if (args[0] == "-e") {
        if (args.size() < 2) {
            printUsage(stderr);
            return 5;
        }
        std::string formula = args[1];
        for (std::size_t i = 2; i < args.size(); ++i) formula += " " + args[i];
        return evaluateOne(formula);
    }

    std::string line;
    std::string stdinScript;
    bool fromStdin = false;
    bool fileNext = false;  // the argument after /i, /o or /a is a file name
    for (const std::string& arg : args) {
        std::string word, value, piece;
        if (arg == "-") {
            fromStdin = true;
            continue;
        }
        if (isParameter(arg, word, value)) {
            fileNext = word == "i" || word == "o" || word == "a";
            if (word == "sel") {
                piece = arg;  // a selection text is never rewritten
            } else if (value.empty()) {
                piece = "/" + word;
            } else if (word == "log" || word == "spl") {
                piece = "/" + word + ":" + fileArgument(value);
            } else {
                piece = "/" + word + ":" + value;
            }
        } else {
            piece = fileNext ? fileArgument(arg) : arg;
            for (char& c : piece)
                if (c == '/') c = '\\';
            fileNext = false;
        }
        if (!line.empty()) line += ' ';
        line += piece;
    }
    if (fromStdin) {
        stdinScript.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        line += " /sel:'" + stdinScript + "' /";
    }

    // Without "/o" or "/a" the output goes to standard output, not to Result.zrt.
    zrt::batchRun().hostTakesUnnamedOutput = true;
    const int exitCode = zrt::zrtEvalMain(line);
    if (!zrt::batchRun().outputWritten && !zrt::zrtResStr().empty()) {
        std::fwrite(zrt::zrtResStr().data(), 1, zrt::zrtResStr().size(), stdout);
        if (zrt::zrtResStr().back() != '\n') std::fputc('\n', stdout);
    }
    return exitStatus(exitCode);
}
