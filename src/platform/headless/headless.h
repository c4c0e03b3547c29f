// Test and console controls of the headless platform.
#pragma once

#include <deque>
#include <functional>
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

// Code that runs while a message box is open, as a real host's message loop may
// run anything meanwhile (another evaluation, say). An empty function clears it.
void setWhileBoxIsOpen(std::function<void()> hook);

// Every message box shown since the last clear.
const std::vector<ShownMessage>& shownMessages();
void clearShownMessages();

// (The clipboard text is platform::clipboardText().)

// Lines sent to the debugger output since the last clear.
const std::vector<std::string>& debugLines();
void clearDebugLines();

}  // namespace zrt::headless
