// The about text of the plug-in: it heads logs and shows in the about window,
// and scripts print it with "aabout".
#pragma once

#include <string>

namespace zrt {

// PluginInfoText: every line ends in "\r\n" and, with `asComment`, starts with
// "'"; `suppress` gives the empty text.
std::string PluginInfoText(bool asComment, bool suppress = false);

}  // namespace zrt
