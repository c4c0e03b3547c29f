// The tool's arguments turned into the parameter line of one batch run.
#pragma once

#include <string>
#include <vector>

namespace quillet {

struct Invocation {
    std::string line;         // the parameter line for the batch driver
    bool help = false;        // --help, -h
    bool version = false;     // --version
    bool strict = false;      // --strict: a failed script line makes status 6
    bool fromStdin = false;   // "-": the script is standard input
    bool hasFormula = false;  // -e FORMULA
    std::string formula;
    bool otherInput = false;   // the script comes from /sel or /gclp
    bool outputNamed = false;  // /o or /a was given
    std::string fault;         // what is wrong with the arguments ("" when nothing)
};

// Reads the arguments. Parameter words are recognised as the library's
// parameter parser recognises them; only file names are rewritten for the
// parameter line (absolute, "\" for "/"): the word after /i, /o, /a and the
// value of /log: and /spl:. A /sel text, with the pieces the shell split it
// into, is passed on as written, in quotes, after every other parameter.
Invocation readArguments(const std::vector<std::string>& args);

// A file name of this machine as the parameter line carries it.
std::string fileArgument(const std::string& name);

}  // namespace quillet
