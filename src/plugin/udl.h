// Script highlighting for Notepad++: the user-defined language "Quillet" for
// .zrt files, built from the tables the interpreter and the evaluator read,
// and its installation into the user's userDefineLangs folder.
#pragma once

#include <string>
#include <vector>

namespace zrt {

// The keyword groups of the language, each a list of words.
struct UdlKeywords {
    std::vector<std::string> commands;       // script commands
    std::vector<std::string> functions;      // built-in functions
    std::vector<std::string> constants;      // named and "#" constants
    std::vector<std::string> listWords;      // statistics and matrix functions
    std::vector<std::string> operatorWords;  // and, or, mod, ...
};
UdlKeywords udlKeywords();

// The whole Quillet.udl.xml (UTF-8, CR LF line ends).
std::string udlText();

constexpr const char* kUdlFileName = "Quillet.udl.xml";

// The Options entry "Install script highlighting".
void installScriptHighlighting();

}  // namespace zrt
