// The table of script commands: the interpreter finds a command's handler by
// its name; each family of commands has its own file.
#pragma once

#include <string_view>
#include <vector>

#include "script/command.h"

namespace zrt {

using CommandHandler = void (*)(const CommandLine& cmd, CommandOutput& out);

// The handler of a command name in lower case, or null (an unknown command).
CommandHandler findCommand(std::string_view name);

// Every name findCommand knows, as the table spells it.
std::vector<std::string_view> commandNames();

}  // namespace zrt
