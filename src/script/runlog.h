// The run log: lines appended to the log file while logging is on ("/log").
#pragma once

#include <string>
#include <string_view>

namespace zrt {

// Appends line + "\r\n" to the log file when logging is on.
void runLog(std::string_view line);

// The local date and time as "dd/mm/yyyy - hh:ii:ss".
std::string runTimeStamp();

// StartPluginLog: removes the old plug-in log file, then logs the about text,
// the time, the log file's name and a rule of 67 "-".
void StartPluginLog();

}  // namespace zrt
