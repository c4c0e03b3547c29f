// The file trace DebugF: single lines to a fixed file or to the debugger.
#pragma once

#include <string>
#include <string_view>

namespace zrt {

// skip != 0: nothing. Mode 2: debugger output. Mode 0: the line is appended
// to the trace file; any other mode replaces the file with the line. Returns 0.
int DebugF(std::string_view text, int mode, int skip);

// The trace file: "c:\debugf.dbg" on Windows, "debugf.dbg" in the temporary
// folder elsewhere.
std::string debugFilePath();

}  // namespace zrt
