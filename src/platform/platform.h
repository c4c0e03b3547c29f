// The platform seam: the only place where the rest of the library meets
// windows, dialogs, the host and the operating system. win32/ implements it
// with the Windows API, headless/ for Linux, the command line tool and tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"

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

// Clipboard text (headless: kept in memory; the command line tool's console
// reaches the desktop's clipboard through its tools, see headless.h).
void setClipboardText(std::string_view text);
std::string clipboardText();
// Why the last clipboard read or write reached no clipboard ("" when it did).
std::string clipboardFault();

}  // namespace zrt::platform

// ---- Plot windows, canvases, pictures and files (the plot's part of the seam) ----

namespace zrt::platform {

// A drawing surface of its own (off-screen), or null for a size outside
// 1..kMaxCanvasSide or when the system refuses one.
std::unique_ptr<Canvas> makeCanvas(int width, int height);

// Width of the primary desktop in pixels.
int desktopWidth();

enum class GadgetKind { Image, Button, Label, Field };

struct Gadget {
    int id = 0;
    GadgetKind kind = GadgetKind::Label;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string text;
};

// What a plot window tells its owner. Called on the user interface thread from
// the window's message handling; the window catches whatever they throw.
struct PlotWindowEvents {
    std::function<void()> redraw;   // the "Redraw" button
    std::function<void()> resized;  // the image area changed size
};

struct PlotWindowLayout {
    int number = 0;  // plot number: the key of every call below
    int x = 0;       // position of the window on the desktop
    int y = 0;
    int width = 0;   // size of the window's inside (client area)
    int height = 0;
    std::string title;
    std::vector<Gadget> gadgets;  // exactly one of kind Image
    int redrawId = 0;             // button ids the window reacts to
    int closeId = 0;
    PlotWindowEvents events;
};

struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;   // inside size
    int height = 0;
};

// Opens (and shows) a plot window; a window with the same number is closed
// first. False when the system could not make it.
bool openPlotWindow(const PlotWindowLayout& layout);
bool plotWindowExists(int number);
bool plotWindowRect(int number, WindowRect& rect);
// The window's picture for the image gadget, (re)made at the given size and
// kept by the window; null without a window or for an invalid size.
Canvas* plotImageCanvas(int number, int width, int height);
// Shows what was drawn on the picture.
void showPlotImage(int number);
void setGadgetText(int number, int gadgetId, std::string_view text);
std::string gadgetText(int number, int gadgetId);
void closePlotWindow(int number);
void closeAllPlotWindows();

// CaptureWindow: the plot window's current look as a picture of the whole
// window. False when the window does not exist or cannot be captured.
bool captureWindow(int number, Image& picture);

// Clipboard picture: setting it replaces the clipboard's content.
bool setClipboardPicture(const Image& picture);
bool clipboardPicture(Image& picture);

// Serves the window messages waiting for this thread (keeps plot windows
// alive while a run goes on); a quit message is left for the host's loop.
void pumpWindowMessages();

// Full path of the host program file.
std::string programPath();

// Files named by UTF-8 paths; "\" and "/" both separate folders.
std::FILE* openFile(std::string_view utf8Path, const char* mode);

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

}  // namespace zrt::platform

namespace zrt::platform {

// ---- The host editor: its windows, their procedures and menus ----

// Window and menu handles of the host (HWND, HMENU on Windows; the fake host's
// own values headless).
using WindowHandle = void*;
using MenuHandle = void*;

// SendMessage: the answer of the window procedure (subclasses first).
std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam);

// A window procedure of the library's own; it must not throw.
using WindowProcedure = std::intptr_t (*)(WindowHandle window, unsigned message,
                                          std::uintptr_t wParam, std::intptr_t lParam);

// Puts `procedure` in front of the window's procedure. Returns the procedure
// it replaced as a number (for the log), 0 when nothing was done. One window
// at a time.
std::intptr_t subclassWindow(WindowHandle window, WindowProcedure procedure);
// The replaced procedure, with the same four values.
std::intptr_t callPreviousProcedure(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam);
// Puts the replaced procedure back; false when no subclass is installed.
bool restoreWindowProcedure(WindowHandle window);

// Menus (items addressed by position or, searching submenus, by command id).
MenuHandle windowMenu(WindowHandle window);
int menuItemCount(MenuHandle menu);                   // -1 for an invalid menu
MenuHandle subMenu(MenuHandle menu, int position);    // null when the item has none
int menuItemId(MenuHandle menu, int position);        // -1 for pop-ups and bad positions
std::string menuString(MenuHandle menu, unsigned item, bool byPosition, int maxChars);
MenuHandle createPopupMenu();
// Inserts a string item before `position` (or at the end); a pop-up when `popup` is set.
bool insertMenuItem(MenuHandle menu, int position, unsigned id, std::string_view text,
                    MenuHandle popup = nullptr);
bool makeMenuSeparator(MenuHandle menu, unsigned id);
// The check mark: -1 when the item does not exist, else 0 or 1.
int menuItemChecked(MenuHandle menu, unsigned id);
bool setMenuItemChecked(MenuHandle menu, unsigned id, bool checked);

// The system's text for the last error code of the calling thread ("" when none).
std::string lastSystemErrorText();

}  // namespace zrt::platform

namespace zrt::platform {

// ---- Settings, texts of the editor, windows of the library ----

// Private-profile (INI) functions. profileString copies at most maxChars - 1
// characters, as the Windows function does with a buffer of maxChars.
std::string profileString(std::string_view section, std::string_view key,
                          std::string_view defaultText, std::string_view path, int maxChars);
bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view path);
// Flushes the profile cache of the file (a write with null section, key and value).
void flushProfile(std::string_view path);

// True when the file can be opened for writing (an existing file is left as it
// is; a file made only to find out is removed again).
bool canWriteFile(std::string_view path);

// Text in a code page as UTF-8, and back (0: the system ANSI code page;
// 65001: UTF-8). Characters the code page lacks become "?".
std::string codePageToUtf8(std::string_view bytes, int codePage);
std::string utf8ToCodePage(std::string_view text, int codePage);

// The input box: prompt, title and the proposed answer; nothing when cancelled.
bool inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText,
              std::string& answer);

// The messages window: a resizable window with a read-only text box, running
// its own event loop until the user closes it. An open window with the same
// title is closed first. With `console` the text goes to a console window that
// waits for Enter instead.
void showMessagesWindow(std::string_view title, std::string_view text, bool console);

// The version block of a file: file and product version as "a.b.c.d". False
// with the system error number when the file has none.
bool fileVersion(std::string_view path, std::string& fileVer, std::string& productVer,
                 unsigned& errorNumber);

// The file's last write time as "dd/mm/yyyy hh:ii:ss" in local time ("" on failure).
std::string fileTimeText(std::string_view path);

// The folder for temporary files, ending in a separator.
std::string tempFolder();

// Waits (the library's only waits are short retries of file access).
void sleepMilliseconds(unsigned milliseconds);

}  // namespace zrt::platform

namespace zrt::platform {

// ---- The host's dark mode on the library's own windows ----

// The colours of the host's dark mode (Windows COLORREF values, 0x00BBGGRR),
// in the order the host hands them over.
struct DarkColours {
    std::uint32_t background = 0x202020;
    std::uint32_t softerBackground = 0x404040;
    std::uint32_t hotBackground = 0x404040;
    std::uint32_t pureBackground = 0x000000;
    std::uint32_t errorBackground = 0x0000B0;
    std::uint32_t text = 0xE0E0E0;
    std::uint32_t darkerText = 0xC0C0C0;
    std::uint32_t disabledText = 0x808080;
    std::uint32_t linkText = 0x00C0FF;
    std::uint32_t edge = 0x646464;
    std::uint32_t hotEdge = 0x9B9B9B;
    std::uint32_t disabledEdge = 0x484848;
};

struct WindowTheme {
    bool dark = false;
    DarkColours colours;
};

// Asked for the theme of each top-level window of the library when it opens
// (`changed` false, its controls made, not shown yet) and again for every open
// one after retheme(). Without a themer the windows keep the system's look.
using Themer = std::function<WindowTheme(WindowHandle window, bool changed)>;
void setThemer(Themer themer);

// Every open window of the library asks the themer again and repaints.
void rethemeWindows();

// The theme a window of the library got last (plain for other windows).
WindowTheme windowTheme(WindowHandle window);

}  // namespace zrt::platform
