// The information screens of batch runs ("/sm", "/lg", "/cm", about).
#pragma once

#include <string>

namespace zrt {

std::string memoryScreen();
// The log file's text; empty when it cannot be read (the reader said why).
std::string logScreen();
// "ShowCmds.zrt" unchanged; empty when it cannot be read.
std::string commandsScreen();
std::string aboutScreen();

}  // namespace zrt
