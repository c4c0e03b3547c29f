// The desktop's clipboard for the command line tool: its text is read and
// written by the clipboard tools of the session's display server.
#pragma once

#include <string>
#include <string_view>

namespace zrt::headless {

// Both return false, with `fault` telling why, when no clipboard tool could be
// run or the tool failed.
bool readDesktopClipboard(std::string& text, std::string& fault);
bool writeDesktopClipboard(std::string_view text, std::string& fault);

}  // namespace zrt::headless
