// State of the batch side between and during runs.
#pragma once

#include <cstdint>
#include <string>

namespace zrt {

// Exit codes of a run.
constexpr int kExitCompleted = -1;
constexpr int kExitNotRead = -2;
constexpr int kExitNotWritten = -3;
constexpr int kExitCancelled = -4;
constexpr int kExitNoInput = -5;

struct BatchRun {
    std::string commandLine;   // parameter line of the current run
    std::string scriptText;    // the text to run, then the finished output
    int exitCode = kExitCompleted;
    int runMode = 0;           // 2 during batch runs: relative names use the current folder
    bool firstRun = true;      // the first run writes the log header
    std::uint32_t executionMs = 0;
    bool outputWritten = false;  // the last run wrote an output file
    // Set by a host that takes the output of a file run without "/o" or "/a"
    // itself (the command line tool prints it): no Result.zrt is written then.
    bool hostTakesUnnamedOutput = false;
    long long commandCount = 0;  // commands the last run executed
    long long errorCount = 0;    // and how many of them failed
    std::string iniPath;         // the settings file (named in the log header)
    std::string hostPath;        // the host program, from its command line
};

BatchRun& batchRun();

void resetBatchRun();

}  // namespace zrt
