// Long texts for the user: the messages window and the text viewer of the
// error messages and the library trace.
#pragma once

#include <string>
#include <string_view>

namespace zrt {

constexpr const char* kMessagesWindowTitle = "Quillet Plugin for Notepad++";
// Texts longer than this are not loaded into the window without asking.
constexpr std::size_t kLongTextChars = 50000;

// ShowMsgWindow: the messages window (an open one is replaced); with
// `console` the text goes to a console window instead.
void ShowMsgWindow(std::string_view text, bool console);

// ShowText: the collected error messages (errorMode) or the library trace;
// a long text first asks whether to view, copy or save it.
void ShowText(bool console, bool errorMode);

}  // namespace zrt
