// The batch driver: one run of a parameter line.
#pragma once

#include <string>
#include <string_view>

namespace zrt {

// zrtEvalMain: parses the parameter line, fetches the script, runs it, hands
// the output to its destination and logs the run. Returns the exit code
// (-1 completed, -2 not read, -3 not written, -4 cancelled, -5 no input).
int zrtEvalMain(std::string_view parameterLine);

// Appends the end line to the output of the last run and writes it to OutpFN
// (appending under "/a"), as a run from a file does: a host whose script came
// from elsewhere (standard input) and that named an output file calls it.
// Returns the file writer's exit code.
int saveOutputToFile();

// The plug-in folder (CurDir when no run has set it): the module's folder +
// "Quillet\" where such a folder exists, else the module's own folder.
std::string pluginFolder();

// The library version printed in the output header.
std::string headerVersion();

}  // namespace zrt
