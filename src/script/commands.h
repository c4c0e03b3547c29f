// Script commands that live beside the interpreter (calculus, differentiation,
// plot): the interpreter finds them by their lower-case name.
#pragma once

#include <string_view>

#include "script/command.h"

namespace zrt {

using CommandHandler = void (*)(const CommandLine& cmd, CommandOutput& out);

// The handler of a command name in lower case, or null.
CommandHandler findCommand(std::string_view name);

}  // namespace zrt
