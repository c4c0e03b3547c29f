// The about text of the plug-in: it heads logs and shows in the about window,
// and scripts print it with "aabout". Also the library's own about box, the
// version block of files and the string-passing test exports.
#pragma once

#include <string>
#include <string_view>

namespace zrt {

// PluginInfoText: every line ends in "\r\n" and, with `asComment`, starts with
// "'"; `suppress` gives the empty text.
std::string PluginInfoText(bool asComment, bool suppress = false);

// The about display of the menu: the about text in the messages window. Returns 0.
int aboutDisplay();

// DisplayVerInfo: file and product version of a file ("" = this library) as
// "a.b.c.d". A file without a version block shows the system error number in
// a box with an empty title and gives false.
bool DisplayVerInfo(std::string_view fileName, std::string& fileVersion,
                    std::string& productVersion);

// aAbout: the library's about box.
void aAbout();

// The texts TestStrPtr / TestStrPtr2 write.
constexpr const char* kTestStrPtrText = "aaaaaaaaaaa";      // 11 characters
constexpr const char* kTestStrPtr2Text = "aaaaaaaaaaaaaa";  // 14 characters

}  // namespace zrt
