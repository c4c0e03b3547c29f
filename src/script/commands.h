// Script commands that live beside the interpreter (calculus, differentiation,
// plot): the interpreter finds them by their lower-case name.
#pragma once

#include <string_view>
#include <vector>

#include "script/command.h"

namespace zrt {

using CommandHandler = void (*)(const CommandLine& cmd, CommandOutput& out);

// The handler of a command name in lower case, or null.
CommandHandler findCommand(std::string_view name);

// Every name findCommand knows.
std::vector<std::string_view> commandNames();

}  // namespace zrt
