// Test and console controls of the headless platform.
#pragma once

#include <cstdint>
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

// Forgets everything a test may have set or left behind: the records of what
// was shown, queued answers, the clipboard, the console flavour, the hook,
// the clock offset, the unwritable folder, the window settings and the fake
// host's windows. The test fixture calls it before every test.
void resetRecords();

// Console flavour (the command line tool): information boxes print to standard
// error as "TITLE: text"; questions take their default answer.
void setConsole(bool on);

// Text as a Linux terminal or pipe takes it: "\r\n" becomes "\n". What the
// console prints goes through it; files keep the "\r\n" the system writes.
std::string lfLines(std::string_view text);

// Answers for the next questions, in order; without one a question takes its
// default answer.
void queueAnswer(int answer);

// Code that runs while a message box is open, as a real host's message loop may
// run anything meanwhile (another evaluation, say). An empty function clears it.
void setWhileBoxIsOpen(std::function<void()> hook);
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

// The command line tool's clipboard is the desktop's: read with wl-paste
// (Wayland) or "xclip -o -selection clipboard" (X), written with wl-copy or
// xclip, whichever is on PATH for the session's display. Without one, reads
// give "" and writes are dropped, with platform::clipboardFault() telling why.
void setSystemClipboard(bool on);

// Lines sent to the debugger output since the last clear.
const std::vector<std::string>& debugLines();
void clearDebugLines();

// ---- Plot windows: records with an off-screen picture ----

// Numbers of the plot windows that are open, in increasing order.
std::vector<int> plotWindowNumbers();
std::string plotWindowTitle(int number);
// The gadgets with their current texts (empty when the window is not open).
std::vector<platform::Gadget> plotWindowGadgets(int number);
// The picture shown in the window's image gadget.
Image plotWindowImage(int number);
// What a click does: "Redraw" and "Close" act as on Windows; false when the
// window or the button does not exist.
bool pressButton(int number, int gadgetId);
// The user drags the window to a new inside size.
bool resizePlotWindow(int number, int width, int height);

// Settings a test may change; resetWindowSettings() restores them: a desktop
// 1024 pixels wide, the real program path, captures that work.
void setDesktopWidth(int width);
void setProgramPath(std::string path);
void setCaptureFails(bool fails);
void resetWindowSettings();

// ---- The fake host's windows and menus ----

// What a window of the fake host answers (its own window procedure).
using MessageHandler = std::function<std::intptr_t(unsigned message, std::uintptr_t wParam,
                                                   std::intptr_t lParam)>;
void registerWindow(platform::WindowHandle window, MessageHandler handler);
void unregisterWindow(platform::WindowHandle window);
// The window's menu bar (what platform::windowMenu answers).
void setWindowMenu(platform::WindowHandle window, platform::MenuHandle menu);
// The procedure installed in front of the window's own (0 when none).
std::intptr_t installedProcedure(platform::WindowHandle window);
// Forgets every window, subclass and menu.
void resetWindows();

// ---- Dialogs and windows of the library ----

// Answers for the next input boxes, in order; without one an input box is
// cancelled.
void queueInputAnswer(const std::string& answer);
void queueInputCancel();
struct ShownInput {
    std::string prompt;
    std::string title;
    std::string defaultText;
};
const std::vector<ShownInput>& shownInputs();
void clearShownInputs();

// Messages windows opened since the last clear. A window counts as open until
// closeMessagesWindow(); opening another one meanwhile replaces it.
struct MessagesWindow {
    std::string title;
    std::string text;
    bool console = false;
    bool replacedOpenWindow = false;
    platform::WindowTheme theme;  // what the themer gave it when it opened
};
const std::vector<MessagesWindow>& messagesWindows();
void clearMessagesWindows();
void closeMessagesWindow();

// The handles of the library's windows (plot window `number`, the messages
// window); their themes come from platform::windowTheme.
platform::WindowHandle plotWindowHandle(int number);
platform::WindowHandle messagesWindowHandle();
// A window of the library opens (asks the themer) or closes.
platform::WindowTheme windowOpened(platform::WindowHandle window);
void windowClosed(platform::WindowHandle window);
// No themer, no open windows.
void resetThemes();

// The tick counter runs on the steady clock plus this offset.
void advanceClock(std::uint32_t milliseconds);

// Files below this folder cannot be written ("" lifts it): a program folder
// without write access.
void setUnwritableFolder(const std::string& folder);

}  // namespace zrt::headless
