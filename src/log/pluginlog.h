// The plug-in log: one line per step of the plug-in's procedures, laid out as
// "Proc: " + name + "()" padded to 20 characters + text (which starts with ": ").
#pragma once

#include <string>
#include <string_view>

namespace zrt {

// Log mode pbDebug: 0 off, 1 system debugger output, 2 append to the log file,
// 3 one message box per line.
int pbDebug();
void setPbDebug(int mode);

// The log file (mode 2).
const std::string& dbgPath();
void setDbgPath(std::string path);

// "Proc: " + proc + "()" padded (or cut) to 20 + text.
std::string pluginLogLine(std::string_view proc, std::string_view text);

void pluginLog(std::string_view proc, std::string_view text);
// A procedure's closing line: "Proc: " + proc padded to 15 + ": " + 70 "-".
void pluginLogEnd(std::string_view proc);
// A raw line without the "Proc: " layout.
void pluginLogRaw(std::string_view line);

// PluginLog: one line to the destination of `mode` (0 nowhere, 1 debugger
// output, 2 appended to the log file, 3 a message box with an empty title).
void PluginLog(std::string_view line, int mode);

void resetPluginLog();

}  // namespace zrt
