// Test and console controls of the headless platform.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zrt::headless {

struct ShownMessage {
    std::string text;
    std::string title;
    platform::Buttons buttons;
    int answer;
};

// Console flavour (the command line tool): information boxes print to standard
// error as "TITLE: text"; questions take their default answer.
void setConsole(bool on);

// Answers for the next questions, in order; without one a question takes its
// default answer.
void queueAnswer(int answer);

// Answers for the next file dialogs, in order (an empty text cancels); without
// one a dialog is cancelled.
void queueFileAnswer(const std::string& path);

// Texts shown in the text viewer since the last clear.
const std::vector<std::string>& shownScreens();
void clearShownScreens();

// Progress lines written since the last clear ("/pb" in the console prints them
// to standard error too).
const std::vector<std::string>& progressLines();

// Every message box shown since the last clear.
const std::vector<ShownMessage>& shownMessages();
void clearShownMessages();

// (The clipboard text is platform::clipboardText().)

// Lines sent to the debugger output since the last clear.
const std::vector<std::string>& debugLines();
void clearDebugLines();

}  // namespace zrt::headless
