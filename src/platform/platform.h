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

#include "ui/canvas.h"

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

struct PlotWindowSpec {
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
bool openPlotWindow(const PlotWindowSpec& spec);
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
