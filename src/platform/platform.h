// The platform seam: the only place where the rest of the library meets
// windows, dialogs, the host and the operating system. win32/ implements it
// with the Windows API, headless/ for Linux, the command line tool and tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zrt::platform {

// Answers of message boxes (the Windows button identifiers).
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Information, Exclamation, Error, Question };

// Shows a message box and returns the button pressed. Without a user (console,
// tests) questions take `defaultAnswer` (0: the first button).
int messageBox(std::string_view text, std::string_view title, Buttons buttons = Buttons::Ok,
               Icon icon = Icon::Information, int defaultAnswer = 0);

// One line to the system debugger output (OutputDebugString).
void debugOutput(std::string_view text);

// Milliseconds since an arbitrary start, wrapping like GetTickCount.
std::uint32_t tickCount();

// Full path of the library file (Quillet.dll, libzerith.so, or the program
// the library is linked into).
std::string modulePath();

}  // namespace zrt::platform

namespace zrt::platform {

// Clipboard text (headless: kept in memory).
void setClipboardText(std::string_view text);
std::string clipboardText();

}  // namespace zrt::platform

namespace zrt::platform {

// File dialogs with a title and a filter ("Text (*.txt)|*.txt|All files (*.*)|*.*").
// An empty result means the user cancelled.
std::string openFileDialog(std::string_view title, std::string_view filter);
std::string saveFileDialog(std::string_view title, std::string_view filter);

// 8-bit text in the system code page (Windows: the ANSI code page; elsewhere
// Windows-1252) as UTF-8.
std::string ansiToUtf8(std::string_view bytes);

// Shows a long text in the text viewer (fixed-pitch font). The console prints it.
void showTextScreen(std::string_view text);

// Progress of a run: show=false closes the indicator. Returns false when the
// user asked to stop and confirmed it.
bool progress(int line, int lineCount, bool show, std::string_view lineText);

// The full path of the host program, from the process command line.
std::string hostProgramPath();

}  // namespace zrt::platform
