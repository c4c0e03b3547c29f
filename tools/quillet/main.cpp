// quillet: the command line face of the Zerith math library. Its arguments
// make the parameter line of one batch run; with none on a terminal it is an
// interactive calculator.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "arguments.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "results.h"
#include "script/batch_state.h"
#include "script/batchrun.h"
#include "script/driver.h"
#include "script/flags.h"
#include "session.h"
#include "log/version.h"

namespace {

// Exit statuses of the tool.
constexpr int kStatusDone = 0;
constexpr int kStatusFormulaFailed = 1;
constexpr int kStatusNoInput = 5;
constexpr int kStatusLineFailed = 6;

const char* const kNoInputHint =
    "quillet: no input: give /i FILE, - for standard input, /sel:'...' or -e FORMULA; quillet "
    "--help\n";

int exitStatus(int exitCode) {
    switch (exitCode) {
        case zrt::kExitCompleted:
            return kStatusDone;
        case zrt::kExitNotRead:
            return 2;
        case zrt::kExitNotWritten:
            return 3;
        case zrt::kExitCancelled:
            return 4;
        case zrt::kExitNoInput:
            return kStatusNoInput;
        default:
            return 1;
    }
}

void printUsage(std::FILE* out) {
    std::fputs(
        "Usage: quillet PARAMETERS...        run a batch (the parameters are listed below)\n"
        "       quillet /i script.zrt /o      run a script file, output in Result.zrt beside it\n"
        "       quillet FILE [PARAMETERS...]  the same as quillet /i FILE\n"
        "       quillet - [PARAMETERS...]     run the script read from standard input\n"
        "       quillet -e FORMULA [PARAMETERS...]\n"
        "                                     evaluate one formula (or script line), print the "
        "result\n"
        "       quillet                       on a terminal: the interactive calculator\n"
        "       quillet --help | --version\n",
        out);
}

void printHelp() {
    printUsage(stdout);
    std::fputs(
        "\n"
        "Without /o and /a the output goes to standard output. File names may be given\n"
        "with \"/\"; a /sel text and everything else is passed on as written.\n"
        "  --strict   a script line that fails makes the exit status 6\n"
        "\n"
        "Exit status:\n"
        "  0  done (script lines that failed are reported in the output)\n"
        "  1  the -e formula failed\n"
        "  2  a file could not be read\n"
        "  3  a file could not be written\n"
        "  4  cancelled\n"
        "  5  no input, a word that is no parameter, or no clipboard for /gclp or /sclp\n"
        "  6  with --strict: a script line failed\n"
        "\n"
        "Parameters (the library's help screen):\n",
        stdout);
    std::printf("%s\n", zrt::headless::lfLines(zrt::helpText()).c_str());
}

void printOutput(const std::string& text, std::FILE* out) {
    const std::string lf = zrt::headless::lfLines(text);
    std::fwrite(lf.data(), 1, lf.size(), out);
    if (!lf.empty() && lf.back() != '\n') std::fputc('\n', out);
}

// -e: the formula runs as one script line of a batch with the other parameters.
int evaluateFormula(const quillet::Invocation& inv) {
    std::string line =
        inv.line + " /noh /nln /nt /sel:'" + quillet::asScriptLine(inv.formula) + "' /";
    const int exitCode = zrt::zrtEvalMain(line);
    if (exitCode != zrt::kExitCompleted) return exitStatus(exitCode);
    int errors = 0;
    const std::string shown = quillet::lineResults(zrt::zrtResStr(), errors);
    std::fputs(shown.c_str(), errors ? stderr : stdout);
    return errors ? kStatusFormulaFailed : kStatusDone;
}

int runBatch(const quillet::Invocation& inv) {
    std::string line = inv.line;
    if (inv.fromStdin) {
        const std::string script(std::istreambuf_iterator<char>(std::cin), {});
        line += " /sel:'" + script + "' /";
    }
    int exitCode = zrt::zrtEvalMain(line);
    if (exitCode == zrt::kExitNoInput && zrt::platform::clipboardFault().empty()) {
        std::fputs(kNoInputHint, stderr);
        return kStatusNoInput;
    }
    // A script that came from elsewhere than a file is written to the output
    // file the user named, as a file's output is.
    if (exitCode == zrt::kExitCompleted && inv.outputNamed && (inv.fromStdin || inv.otherInput) &&
        !zrt::batchRun().outputWritten)
        exitCode = zrt::saveOutputToFile();
    if (!zrt::batchRun().outputWritten && !zrt::zrtResStr().empty())
        printOutput(zrt::zrtResStr(), stdout);
    int status = exitStatus(exitCode);
    if (status == kStatusDone && inv.strict && zrt::batchRun().errorCount > 0)
        status = kStatusLineFailed;
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    zrt::headless::setConsole(true);
    zrt::headless::setSystemClipboard(true);
    // Without "/o" or "/a" a file run's output goes to standard output, not to
    // Result.zrt beside the script.
    zrt::batchRun().hostTakesUnnamedOutput = true;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        if (isatty(STDIN_FILENO)) return quillet::runSession();
        printUsage(stderr);
        return kStatusNoInput;
    }
    const quillet::Invocation inv = quillet::readArguments(args);
    if (inv.version) {
        std::printf("quillet %s (Zerith math library)\n", zrt::libraryFileVersion().c_str());
        return kStatusDone;
    }
    if (inv.help) {
        printHelp();
        return kStatusDone;
    }
    if (!inv.fault.empty()) {
        std::fprintf(stderr, "quillet: %s; quillet --help lists the parameters\n",
                     inv.fault.c_str());
        return kStatusNoInput;
    }
    return inv.hasFormula ? evaluateFormula(inv) : runBatch(inv);
}
