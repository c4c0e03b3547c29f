// npp_host: a small Notepad++ of our own with real windows, for the Windows
// test run under Wine. It has a main window with a menu bar whose plug-ins
// menu gets the plug-in's submenu, and two editing views that answer the
// Scintilla messages over in-memory documents. It loads
// plugins\Quillet\Quillet.dll as Notepad++ does, lets the plug-in subclass
// its main window, opens its menus, runs the commands, and answers the
// plug-in's message boxes and input boxes from a watcher timer on its own
// thread.
//
// It acts as today's Notepad++ ("&Plugins", NPPM_GETMENUHANDLE, Scintilla 5)
// or, with --old, as an older one ("Plugins", no NPPM_GETMENUHANDLE, the
// Scintilla before 5.1.5); see fake::Generation.
//
// Today's host runs with the Common Controls 6 manifest Notepad++ carries
// (themed buttons and fields in the plug-in's windows); the older one without.
//
// Usage (current directory = the host's folder):
//   npp_host [--old] [--live-shot typing.bmp] [screenshot.bmp]
//   npp_host --release   (the few scenarios of a freshly installed package)
// With a screenshot named, today's host also saves a dark plot window as dark-plot.bmp.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "npp_host_ids.h"
#include "plugin/menus.h"
#include "plugin/nppinterface.h"
#include "support/fake_scintilla.h"
#include "support/jpeg_read.h"
#include "zerith.h"

namespace {

namespace npp = zrt::npp;

constexpr unsigned kPluginCommandBase = 22000;
constexpr UINT kDwellTimer = 1;

// ---- Text ----

std::wstring wide(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
    return w;
}

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr,
                        nullptr);
    return s;
}

std::string windowText(HWND hwnd) {
    wchar_t buf[4096] = {0};
    GetWindowTextW(hwnd, buf, 4096);
    return utf8(buf);
}

std::string shown(std::string s) {
    std::string out;
    for (char c : s) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// ---- Checks ----

int gFailures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++gFailures;
}

// ---- Dialogs: what the watcher answered ----

struct Answer {
    std::string title;  // the dialog to answer
    int button;         // IDYES, IDNO, IDOK, IDCANCEL
    std::string input;  // typed into an input box first
};

struct Seen {
    std::string title;
    std::string text;
};

std::deque<Answer> gAnswers;
std::vector<Seen> gSeen;
std::vector<std::string> gMessagesWindows;  // texts of the plug-in's messages windows
DWORD gMainThread = 0;

void expectDialog(const std::string& title, int button, const std::string& input = "") {
    gAnswers.push_back({title, button, input});
}

std::vector<Seen> takeSeen() {
    std::vector<Seen> s;
    s.swap(gSeen);
    return s;
}

bool sawTitle(const std::vector<Seen>& seen, const std::string& title,
              const std::string& textPart = "") {
    for (const Seen& s : seen)
        if (s.title == title && s.text.find(textPart) != std::string::npos) return true;
    return false;
}

void press(HWND dlg, int id) {
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

BOOL CALLBACK answerWindow(HWND hwnd, LPARAM) {
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || thread != gMainThread || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t cls[64] = {0};
    GetClassNameW(hwnd, cls, 64);
    // Marked on the window itself: a later window may get the same handle.
    if (GetPropW(hwnd, L"QuilletHostAnswered")) return TRUE;
    if (std::wcscmp(cls, L"QuilletMessages") == 0) {
        HWND edit = FindWindowExW(hwnd, nullptr, L"Edit", nullptr);
        gMessagesWindows.push_back(edit ? windowText(edit) : std::string());
        SetPropW(hwnd, L"QuilletHostAnswered", reinterpret_cast<HANDLE>(1));
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
    if (std::wcscmp(cls, L"#32770") != 0) return TRUE;
    const std::string title = windowText(hwnd);
    HWND edit = GetDlgItem(hwnd, 101);  // the input box's edit field
    HWND textItem = GetDlgItem(hwnd, edit ? 100 : 0xFFFF);
    const std::string text = textItem ? windowText(textItem) : std::string();
    Answer answer{title,
                  GetDlgItem(hwnd, IDCANCEL) ? IDCANCEL
                  : GetDlgItem(hwnd, IDNO)   ? IDNO
                                             : IDOK,
                  ""};
    bool scripted = false;
    for (auto it = gAnswers.begin(); it != gAnswers.end(); ++it) {
        if (it->title == title) {
            answer = *it;
            gAnswers.erase(it);
            scripted = true;
            break;
        }
    }
    gSeen.push_back({title, text});
    std::printf("     dialog \"%s\": %s -> %s%d\n", title.c_str(),
                shown(text).substr(0, 120).c_str(), scripted ? "" : "unexpected, ", answer.button);
    std::fflush(stdout);
    if (edit)
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(answer.input).c_str()));
    SetPropW(hwnd, L"QuilletHostAnswered", reinterpret_cast<HANDLE>(1));
    press(hwnd, answer.button);
    return TRUE;
}

// ---- Common Controls 6 ----

// The manifest of today's Notepad++, from the host's resources, active on the
// threads that make or look for windows (as a process-wide one would be).
HANDLE gCommonControls6 = INVALID_HANDLE_VALUE;

bool createCommonControls6() {
    wchar_t self[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ACTCTXW ctx{};
    ctx.cbSize = sizeof ctx;
    ctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.hModule = GetModuleHandleW(nullptr);
    ctx.lpSource = self;
    ctx.lpResourceName = MAKEINTRESOURCEW(QUILLET_HOST_MANIFEST);
    gCommonControls6 = CreateActCtxW(&ctx);
    return gCommonControls6 != INVALID_HANDLE_VALUE;
}

void activateCommonControls6() {
    ULONG_PTR cookie = 0;
    if (gCommonControls6 != INVALID_HANDLE_VALUE) ActivateActCtx(gCommonControls6, &cookie);
}

// ---- The watchdog ----

// A scenario that could hang the host (a window procedure that loops) runs
// under a time bound: past it the watchdog reports and ends the process, so
// the run fails instead of waiting for the outer timeout.
struct Watched {
    volatile LONG until = 0;  // tick count by which the scenario ends; 0: none
    const char* name = "";
} gWatched;

struct Watch {
    Watch(const char* name, DWORD seconds) {
        gWatched.name = name;
        InterlockedExchange(&gWatched.until, static_cast<LONG>(GetTickCount() + seconds * 1000));
    }
    ~Watch() { InterlockedExchange(&gWatched.until, 0); }
};

DWORD WINAPI watchdog(LPVOID) {
    for (;;) {
        Sleep(250);
        const LONG until = InterlockedCompareExchange(&gWatched.until, 0, 0);
        if (until != 0 && static_cast<LONG>(GetTickCount() - static_cast<DWORD>(until)) > 0) {
            std::printf("FAIL %s: the host gave no answer within its time bound (it hangs)\n",
                        gWatched.name);
            std::printf("FAILURES: %d\n", gFailures + 1);
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

// The watcher: a thread timer of the main thread, so it ticks inside every
// message loop the plug-in runs (message boxes, input boxes, the progress
// window), where a user's click would arrive too.
void CALLBACK watcherTick(HWND, UINT, UINT_PTR, DWORD) {
    EnumWindows(answerWindow, 0);
}

// ---- The host ----

struct Host {
    HWND main = nullptr;
    HWND viewWindow[2] = {nullptr, nullptr};
    fake::View view[2];
    int currentView = 0;
    HMENU bar = nullptr, plugins = nullptr, quillet = nullptr;
    HMODULE dll = nullptr;
    WNDPROC originalProc = nullptr;
    std::wstring configDir;
    std::vector<std::string> reloaded, opened;
    std::vector<bool> reloadAlerts;  // NPPM_RELOADFILE: whether it asked the user first
    std::vector<unsigned> commandsSeen;
    zrt_FuncItem* items = nullptr;
    int itemCount = 0;
    decltype(&::isUnicode) isUnicode = nullptr;
    decltype(&::getName) getName = nullptr;
    decltype(&::setInfo) setInfo = nullptr;
    decltype(&::getFuncsArray) getFuncsArray = nullptr;
    decltype(&::beNotified) beNotified = nullptr;
    decltype(&::messageProc) messageProc = nullptr;
    std::intptr_t dwellPosition = 0;
    fake::Generation generation = fake::Generation::Today;
    std::wstring settingsDir;  // NPPM_GETNPPSETTINGSDIRPATH (today's host only)
    std::string startFolder;   // the host's folder (commands change the current one)
    // Dark mode, as today's Notepad++ tells it; the windows it was asked to theme.
    bool darkMode = false;
    DWORD darkColours[12] = {0x202020, 0x404040, 0x404040, 0x000000, 0x0000B0, 0xE0E0E0,
                             0xC0C0C0, 0x808080, 0x00C0FF, 0x646464, 0x9B9B9B, 0x484848};
    struct Themed {
        HWND window;
        std::string windowClass;
        std::string title;
        WPARAM flags;
    };
    std::vector<Themed> themed;
    std::string status = "Normal text file";  // the status bar's first field
} host;

// The status bar below the views.
constexpr int kStatusHeight = 22;
constexpr WPARAM kDarkModeInit = 0x0B;
constexpr WPARAM kDarkModeHandleChange = 0x0C;

int viewIndex(HWND hwnd) {
    return hwnd == host.viewWindow[1] ? 1 : 0;
}

// The full SCNotification is larger than what the plug-in reads.
struct NotificationBuffer {
    npp::Notification n;
    char rest[64];
};

// A selection within one line shows on a light blue ground (the font is fixed-width).
void paintSelection(HDC dc, const fake::View& v, const RECT& textArea) {
    const std::intptr_t from = std::min(v.caret, v.anchor), to = std::max(v.caret, v.anchor);
    const std::intptr_t line = v.lineOf(from);
    if (from == to || v.lineOf(to) != line) return;
    SIZE cell{};
    GetTextExtentPoint32W(dc, L"M", 1, &cell);
    const std::intptr_t column = from - v.lineStart(line);
    RECT box{textArea.left + static_cast<LONG>(column) * cell.cx,
             textArea.top + static_cast<LONG>(line) * cell.cy,
             textArea.left + static_cast<LONG>(column + to - from) * cell.cx,
             textArea.top + static_cast<LONG>(line + 1) * cell.cy};
    HBRUSH blue = CreateSolidBrush(RGB(192, 220, 255));
    FillRect(dc, &box, blue);
    DeleteObject(blue);
}

void paintStatusBar(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    r.top = r.bottom - kStatusHeight;
    FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    RECT t{r.left + 6, r.top + 4, r.right / 2, r.bottom};
    const std::wstring text = wide(host.status);
    DrawTextW(dc, text.c_str(), -1, &t, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK viewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    fake::View& v = host.view[viewIndex(hwnd)];
    if (msg >= 2000 && msg < 3000) {
        const LRESULT r = v.handle(msg, wParam, lParam);
        if (msg == npp::SCI_INSERTTEXT || msg == npp::SCI_CALLTIPSHOW ||
            msg == npp::SCI_CALLTIPCANCEL)
            InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    }
    switch (msg) {
        case WM_TIMER:
            if (wParam == kDwellTimer) {
                KillTimer(hwnd, kDwellTimer);
                // Scintilla's notification goes to the main window.
                NotificationBuffer b{};
                b.n.nmhdr.hwndFrom = hwnd;
                b.n.nmhdr.idFrom = 0;
                b.n.nmhdr.code = npp::SCN_DWELLSTART;
                b.n.position = host.dwellPosition;
                b.n.x = 30;
                b.n.y = 12;
                SendMessageW(GetParent(hwnd), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&b));
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
            HGDIOBJ old = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            RECT t = r;
            t.left += 4;
            t.top += 2;
            paintSelection(dc, v, t);
            const std::wstring text = wide(v.text);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
                      DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS);
            if (v.callTipActive) {
                const std::wstring tip = wide(v.callTip);
                RECT tr{40, 40, 40, 40};
                DrawTextW(dc, tip.c_str(), -1, &tr, DT_CALCRECT | DT_NOPREFIX);
                RECT box{tr.left - 4, tr.top - 3, tr.right + 4, tr.bottom + 3};
                HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 225));
                FillRect(dc, &box, yellow);
                DeleteObject(yellow);
                FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
                DrawTextW(dc, tip.c_str(), -1, &tr, DT_NOPREFIX);
            }
            SelectObject(dc, old);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT copyOut(const std::string& text, WPARAM capacity, LPARAM buffer) {
    const std::wstring w = wide(text);
    if (!buffer) return static_cast<LRESULT>(w.size());
    if (capacity <= w.size()) return FALSE;
    std::memcpy(reinterpret_cast<wchar_t*>(buffer), w.c_str(), (w.size() + 1) * sizeof(wchar_t));
    return TRUE;
}

LRESULT CALLBACK mainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Notepad++ relays its messages to every plug-in.
    if (host.messageProc && msg < WM_USER) host.messageProc(msg, wParam, lParam);
    std::intptr_t documents = 0;
    if (fake::answerOpenDocuments(host.view[0], host.view[1], msg, wParam, lParam, documents))
        return documents;
    switch (msg) {
        case npp::NPPM_GETCURRENTSCINTILLA:
            if (lParam) *reinterpret_cast<int*>(lParam) = host.currentView;
            return TRUE;
        case npp::NPPM_GETMENUHANDLE:
            // The older host does not know the message.
            if (host.generation == fake::Generation::Old) return 0;
            return reinterpret_cast<LRESULT>(wParam == npp::NPPPLUGINMENU ? host.plugins
                                                                          : host.bar);
        case WM_MENUCHAR:
            // A menu-bar caption without an accelerator ("Plugins" of the older
            // host) opens by its first letter.
            if (reinterpret_cast<HMENU>(lParam) == host.bar) {
                for (int i = 0; i < GetMenuItemCount(host.bar); ++i) {
                    wchar_t caption[64] = {0};
                    GetMenuStringW(host.bar, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
                    if (std::towupper(caption[0]) == std::towupper(LOWORD(wParam)))
                        return MAKELRESULT(i, MNC_EXECUTE);
                }
            }
            return MAKELRESULT(0, MNC_IGNORE);
        case npp::NPPM_RELOADFILE:
            host.reloaded.push_back(utf8(reinterpret_cast<const wchar_t*>(lParam)));
            host.reloadAlerts.push_back(wParam != 0);
            return TRUE;
        case npp::NPPM_GETFULLPATHFROMBUFFERID: {
            const std::string* path = fake::openDocumentPath(host.view[0], host.view[1], wParam);
            if (!path) return -1;
            const std::wstring w = wide(*path);
            if (lParam)
                std::memcpy(reinterpret_cast<wchar_t*>(lParam), w.c_str(),
                            (w.size() + 1) * sizeof(wchar_t));
            return static_cast<LRESULT>(w.size());
        }
        case npp::NPPM_DOOPEN:
            host.opened.push_back(utf8(reinterpret_cast<const wchar_t*>(lParam)));
            return TRUE;
        case npp::NPPM_GETPLUGINSCONFIGDIR:
            return copyOut(utf8(host.configDir), wParam, lParam);
        case npp::NPPM_SETSTATUSBAR:
            if (!lParam || wParam != npp::STATUSBAR_DOC_TYPE) return FALSE;
            host.status = utf8(reinterpret_cast<const wchar_t*>(lParam));
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        case npp::NPPM_GETCURRENTLANGTYPE:
            if (lParam) *reinterpret_cast<int*>(lParam) = host.view[host.currentView].langType;
            return TRUE;
        case npp::NPPM_GETLANGUAGEDESC: {
            const std::wstring desc = wide(fake::languageDescription(static_cast<int>(wParam)));
            if (lParam)
                std::memcpy(reinterpret_cast<wchar_t*>(lParam), desc.c_str(),
                            (desc.size() + 1) * sizeof(wchar_t));
            return static_cast<LRESULT>(desc.size());
        }
        // Messages of today's Notepad++ only; the older host answers 0.
        case npp::NPPM_GETNPPSETTINGSDIRPATH:
            if (host.generation == fake::Generation::Old) return 0;
            return copyOut(utf8(host.settingsDir), wParam, lParam);
        case npp::NPPM_ISDARKMODEENABLED:
            return host.generation == fake::Generation::Today && host.darkMode;
        case npp::NPPM_GETDARKMODECOLORS:
            if (host.generation == fake::Generation::Old || wParam != sizeof host.darkColours ||
                !lParam)
                return FALSE;
            std::memcpy(reinterpret_cast<void*>(lParam), host.darkColours, sizeof host.darkColours);
            return TRUE;
        case npp::NPPM_DARKMODESUBCLASSANDTHEME: {
            if (host.generation == fake::Generation::Old) return 0;
            const HWND themed = reinterpret_cast<HWND>(lParam);
            wchar_t cls[64] = {0};
            GetClassNameW(themed, cls, 64);
            host.themed.push_back({themed, utf8(cls), windowText(themed), wParam});
            return TRUE;
        }
        case WM_PAINT:
            paintStatusBar(hwnd);
            return 0;
        case npp::NPPM_GETFULLCURRENTPATH:
            return copyOut(host.view[host.currentView].path, wParam, lParam);
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (host.beNotified && header &&
                (header->hwndFrom == host.viewWindow[0] || header->hwndFrom == host.viewWindow[1]))
                host.beNotified(const_cast<NMHDR*>(header));
            return 0;
        }
        case WM_COMMAND: {
            const unsigned id = LOWORD(wParam);
            host.commandsSeen.push_back(id);
            if (host.items && id >= kPluginCommandBase &&
                id < kPluginCommandBase + static_cast<unsigned>(host.itemCount)) {
                const zrt_FuncItem& item = host.items[id - kPluginCommandBase];
                if (item._pFunc) item._pFunc();
            }
            return 0;
        }
        case WM_SIZE: {
            const int w = LOWORD(lParam), h = std::max(HIWORD(lParam) - kStatusHeight, 0);
            if (host.viewWindow[0]) MoveWindow(host.viewWindow[0], 0, 0, w / 2 - 2, h, TRUE);
            if (host.viewWindow[1])
                MoveWindow(host.viewWindow[1], w / 2 + 2, 0, w - w / 2 - 2, h, TRUE);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

HMENU addPopup(HMENU bar, const wchar_t* caption) {
    HMENU sub = CreatePopupMenu();
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption);
    return sub;
}

void createWindows(HINSTANCE inst) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = mainProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"QuilletTestNpp";
    RegisterClassW(&wc);
    wc.lpfnWndProc = viewProc;
    wc.lpszClassName = L"QuilletTestScintilla";
    RegisterClassW(&wc);

    // Notepad++'s menu bar: the plug-ins menu at position 10, the help menu "?" last.
    host.bar = CreateMenu();
    const wchar_t* captions[] = {L"&File",     L"&Edit",     L"&Search", L"&View",  L"E&ncoding",
                                 L"&Language", L"Se&ttings", L"T&ools",  L"&Macro", L"&Run",
                                 L"&Plugins",  L"&Window",   L"&?"};
    if (host.generation == fake::Generation::Old) captions[10] = L"Plugins";
    for (int i = 0; i < 13; ++i) {
        HMENU sub = addPopup(host.bar, captions[i]);
        if (i == 10) {
            host.plugins = sub;
            AppendMenuW(sub, MF_STRING, 46180, L"Plugins Admin...");
        } else if (i == 12) {
            for (UINT id = 47000; id <= 47015; ++id) AppendMenuW(sub, MF_STRING, id, L"Help");
        } else {
            AppendMenuW(sub, MF_STRING, 41000 + 100 * i, L"Item");
        }
    }
    host.main = CreateWindowExW(0, L"QuilletTestNpp", L"Notepad++ (Quillet test host)",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 760, 420, nullptr,
                                host.bar, inst, nullptr);
    for (int i = 0; i < 2; ++i)
        host.viewWindow[i] =
            CreateWindowExW(WS_EX_CLIENTEDGE, L"QuilletTestScintilla", L"", WS_CHILD | WS_VISIBLE,
                            0, 0, 10, 10, host.main, nullptr, inst, nullptr);
    host.view[0].path = "C:\\new 1";
    host.view[1].path = "C:\\new 2";
    host.view[0].generation = host.view[1].generation = host.generation;
    ShowWindow(host.main, SW_SHOW);
    RECT r;
    GetClientRect(host.main, &r);
    SendMessageW(host.main, WM_SIZE, 0, MAKELPARAM(r.right, r.bottom));
    UpdateWindow(host.main);
}

template <class F>
bool resolve(F& f, const char* name) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(host.dll, name)));
    check(f != nullptr, std::string("export ") + name);
    return f != nullptr;
}

// Loads the plug-in exactly as Notepad++ does.
bool loadPlugin() {
    host.dll = LoadLibraryW(L"plugins\\Quillet\\Quillet.dll");
    check(host.dll != nullptr, "LoadLibrary plugins\\Quillet\\Quillet.dll");
    if (!host.dll) return false;
    bool ok = resolve(host.isUnicode, "isUnicode") && resolve(host.getName, "getName") &&
              resolve(host.setInfo, "setInfo") && resolve(host.getFuncsArray, "getFuncsArray") &&
              resolve(host.beNotified, "beNotified");
    decltype(&::messageProc) messageProc = nullptr;
    ok = ok && resolve(messageProc, "messageProc");
    if (!ok) return false;
    check(host.isUnicode() == 1, "isUnicode");
    check(utf8(reinterpret_cast<const wchar_t*>(host.getName())) == "Quillet",
          "getName before setInfo");
    zrt_NppData data{host.main, host.viewWindow[0], host.viewWindow[1]};
    host.setInfo(data);
    int32_t n = 0;
    host.items = host.getFuncsArray(&n);
    host.itemCount = n;
    check(n == 11, "getFuncsArray reports 11 items");
    host.quillet = CreatePopupMenu();
    for (int i = 0; i < n; ++i) {
        const UINT id = kPluginCommandBase + static_cast<UINT>(i);
        host.items[i]._cmdID = static_cast<int32_t>(id);
        if (!host.items[i]._pFunc) {
            AppendMenuW(host.quillet, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(host.quillet, MF_STRING, id,
                        reinterpret_cast<const wchar_t*>(host.items[i]._itemName));
        }
    }
    InsertMenuW(host.plugins, 0, MF_BYPOSITION | MF_POPUP | MF_STRING,
                reinterpret_cast<UINT_PTR>(host.quillet), L"Quillet");
    DrawMenuBar(host.main);
    host.originalProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.main, GWLP_WNDPROC));
    host.messageProc = messageProc;
    RECT r;
    GetClientRect(host.main, &r);
    SendMessageW(host.main, WM_SIZE, 0,
                 MAKELPARAM(r.right, r.bottom));  // the first relayed message
    return true;
}

// Opens a menu of the menu bar with the keyboard, as a user does; a timer of
// this thread closes it again inside the menu's own loop.
void CALLBACK closeMenu(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    EndMenu();
}

void openMenu(wchar_t mnemonic) {
    SetForegroundWindow(host.main);
    SetTimer(host.main, 77, 400, closeMenu);
    SendMessageW(host.main, WM_SYSCOMMAND, SC_KEYMENU, mnemonic);
    pump(100);
}

void command(UINT id) {
    SendMessageW(host.main, WM_COMMAND, id, 0);
}

void runItem(int item) {
    command(kPluginCommandBase + static_cast<UINT>(item));
}

// The Options entry with this caption, from the plug-in's submenu.
UINT optionId(const std::string& caption, HMENU* options = nullptr) {
    const int n = GetMenuItemCount(host.quillet);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(host.quillet, i);
        if (!sub) continue;
        if (options) *options = sub;
        for (int k = 0; k < GetMenuItemCount(sub); ++k) {
            wchar_t buf[64] = {0};
            GetMenuStringW(sub, k, buf, 64, MF_BYPOSITION);
            if (utf8(buf) == caption) return GetMenuItemID(sub, k);
        }
    }
    return 0;
}

bool optionChecked(const std::string& caption) {
    return (GetMenuState(host.bar, optionId(caption), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The window as it is on the screen, as a 24-bit BMP file.
// Without a window manager on the virtual screen nobody draws the frames: a
// window of ours is taken without its frame.
void saveWindowShot(HWND window, const std::string& file, bool insideOnly = false) {
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    pump(300);
    RECT r;
    GetWindowRect(window, &r);
    if (insideOnly) {
        GetClientRect(window, &r);
        MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    }
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    check(static_cast<bool>(out), "screenshot written to " + file);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

void saveScreenshot(const std::string& file) {
    saveWindowShot(host.main, file);
}

// The colour on the screen at a point of the window's inside, after a repaint.
COLORREF screenPixel(HWND window, int x, int y) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    pump(300);
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

std::string colourText(COLORREF c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06lX", static_cast<unsigned long>(c));
    return buf;
}

// ---- The scenarios ----

void scenarioLoad() {
    const zrt_FuncItem* items = host.items;
    check(utf8(reinterpret_cast<const wchar_t*>(items[4]._itemName)) == "Eval SelText To Wnd",
          "item 5 caption");
    check(items[2]._pFunc == nullptr && items[6]._pFunc == nullptr && items[9]._pFunc == nullptr,
          "separators");
    check(items[5]._pShKey && items[5]._pShKey->_isCtrl && items[5]._pShKey->_isShift &&
              !items[5]._pShKey->_isAlt && items[5]._pShKey->_key == VK_RETURN,
          "Eval Expression To Wnd: Ctrl+Shift+Enter");
    check(items[7]._pShKey && items[7]._pShKey->_isAlt && items[7]._pShKey->_key == 'M',
          "Show Memory: Ctrl+Alt+M");
    check(items[0]._pShKey == nullptr, "Eval CurFile To File: no shortcut");
    check(
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.main, GWLP_WNDPROC)) != host.originalProc,
        "the plug-in subclassed the main window");
    check(host.view[0].dwellTime == 1000, "main view dwell time 1000 ms");
    check(host.view[1].dwellTime == 1000, "second view dwell time 1000 ms");
}

void scenarioOptionsMenu() {
    openMenu(L'w');  // Window: not ours
    check(optionId("Decimals") == 0, "no Options menu after opening another menu");
    openMenu(L'p');
    HMENU options = nullptr;
    const UINT decimals = optionId("Decimals", &options);
    check(decimals != 0, "Options menu built when the Plugins menu opened");
    openMenu(L'p');
    int popups = 0;
    for (int i = 0; i < GetMenuItemCount(host.quillet); ++i)
        if (GetSubMenu(host.quillet, i)) ++popups;
    check(popups == 1 && GetMenuItemCount(host.quillet) == 12, "exactly one Options pop-up");
    wchar_t caption[32] = {0};
    GetMenuStringW(host.quillet, 9, caption, 32, MF_BYPOSITION);
    check(utf8(caption) == "Options", "Options before the separator above About Quillet");
    check(options && GetMenuItemCount(options) == zrt::kOptionCount,
          "every Options entry: " + std::to_string(options ? GetMenuItemCount(options) : 0));
    check(optionId("Plugin Log") == optionId("Decimals") - 4, "entry ids follow the base id");
    check(!optionChecked("Eval to Tooltip") && !optionChecked("Don't confirm Expr"),
          "check marks from the settings");
}

void scenarioSelection() {
    fake::View& v = host.view[0];
    v.text = "2+3\r\nnext line";
    v.select(0, 3);
    expectDialog("Quillet", IDYES);
    runItem(4);
    const std::vector<Seen> seen = takeSeen();
    check(sawTitle(seen, "Quillet", "Eval SelText To Wnd: Expression = "), "confirmation asked");
    check(v.text.rfind("2+3\r\n", 0) == 0 && v.text.find('5') != std::string::npos &&
              v.text.find("next line") != std::string::npos,
          "result inserted below the selection: " + shown(v.text));
}

void scenarioCurrentLineWithoutConfirmation() {
    expectDialog("Quillet", IDOK);
    command(optionId("Don't confirm Expr"));
    takeSeen();
    check(optionChecked("Don't confirm Expr"), "Don't confirm Expr checked");
    fake::View& v = host.view[0];
    v.text = "Expr = 6*7\r\n";
    v.caretAt(0, 3);
    runItem(3);
    const std::vector<Seen> seen = takeSeen();
    check(seen.empty(), "no dialog with confirmation switched off");
    check(v.text.find("42") != std::string::npos, "current line evaluated: " + shown(v.text));
}

// A selection fills its read buffer up to the terminating zero, for lengths
// around the small-buffer sizes and long ones. Each expression's value tells
// its length, so a lost byte shows in the result.
void scenarioSelectionSizes() {
    fake::View& v = host.view[0];
    for (int length : {1, 2, 15, 16, 17, 255, 256, 4095, 4096, 65536}) {
        const bool odd = length % 2 == 1;
        std::string expression = odd ? "1" : "10";
        while (static_cast<int>(expression.size()) < length) expression += "+1";
        const int value = odd ? (length + 1) / 2 : 10 + (length - 2) / 2;
        v.text = expression + "\r\nnext line";
        v.select(0, length);
        runItem(4);
        const std::string want = "Number = " + std::to_string(value);
        check(v.text.find(want + "\r\n") != std::string::npos,
              "selection of " + std::to_string(length) + " bytes read whole: " + want);
    }
    check(takeSeen().empty(), "no dialog while reading selections");
}

// Eval Expression To Wnd reads the text range from the keyword to the caret.
void scenarioExpression() {
    fake::View& v = host.view[0];
    v.text = "x = 1\r\nExpr = 2*21 + 0";
    v.caretAt(1, 11);
    runItem(5);
    check(v.text.find("Number = 42\r\n") != std::string::npos,
          "expression before the caret evaluated: " + shown(v.text));
    check(takeSeen().empty(), "no dialog for the expression");
}

void scenarioToolTip() {
    expectDialog("Quillet", IDOK);
    command(optionId("Eval to Tooltip"));
    check(sawTitle(takeSeen(), "Quillet", "Evaluate to Tooltip enabled."),
          "tool-tip evaluation enabled");
    fake::View& v = host.view[0];
    v.text = "9*9\r\n";
    v.caretAt(0, 1);
    host.dwellPosition = 2;
    SetTimer(host.viewWindow[0], kDwellTimer, static_cast<UINT>(v.dwellTime), nullptr);
    // Scintilla's dwell timer fires after the plug-in's dwell time.
    for (int waited = 0; !v.callTipActive && waited < 8000; waited += 100) pump(100);
    check(v.callTipActive && v.callTip.find("81") != std::string::npos,
          "call tip shows the result: " + shown(v.callTip));
    check(v.text == "9*9\r\n", "tool-tip evaluation leaves the document alone");

    // The mouse rests in the second view: its text, its tip.
    fake::View& second = host.view[1];
    second.text = "6*7\r\n";
    second.caretAt(0, 1);
    SetTimer(host.viewWindow[1], kDwellTimer, static_cast<UINT>(second.dwellTime), nullptr);
    for (int waited = 0; !second.callTipActive && waited < 8000; waited += 100) pump(100);
    check(second.callTipActive && second.callTip.find("42") != std::string::npos,
          "a dwell in the second view shows its tip there: " + shown(second.callTip));
    check(!v.callTipActive, "the main view's tip went when the second view's came");
}

void scenarioIniFile() {
    const std::string ini = readFile("plugins\\Quillet\\Quillet.INI");
    check(ini.find("Eval To ToolTip=1") != std::string::npos &&
              ini.find("Don't confirm Expr=1") != std::string::npos,
          "settings file follows the toggles: " + shown(ini));
    expectDialog("Quillet", IDOK);
    command(optionId("Eval to Tooltip"));
    takeSeen();
    check(readFile("plugins\\Quillet\\Quillet.INI").find("Eval To ToolTip=0") != std::string::npos,
          "settings file after switching tool-tips off");
}

// The user types into view `index`: each character arrives, then
// SCN_CHARADDED goes to the main window; "\n" stands for Enter, which inserts
// the view's line end and notifies each of its characters.
void typeKeys(int index, const std::string& keys) {
    fake::View& v = host.view[index];
    for (char c : keys) {
        const std::string typed = c == '\n' ? v.eol() : std::string(1, c);
        v.typeText(typed);
        InvalidateRect(host.viewWindow[index], nullptr, TRUE);
        for (char t : typed) {
            NotificationBuffer b{};
            b.n.nmhdr.hwndFrom = host.viewWindow[index];
            b.n.nmhdr.code = npp::SCN_CHARADDED;
            b.n.ch = static_cast<unsigned char>(t);
            SendMessageW(host.main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&b));
        }
    }
}

// The user selects in view `index` (SCN_UPDATEUI with the selection flag).
void selectIn(int index, std::intptr_t anchor, std::intptr_t caret) {
    host.view[index].select(anchor, caret);
    InvalidateRect(host.viewWindow[index], nullptr, TRUE);
    NotificationBuffer b{};
    b.n.nmhdr.hwndFrom = host.viewWindow[index];
    b.n.nmhdr.code = npp::SCN_UPDATEUI;
    b.n.updated = npp::SC_UPDATE_SELECTION;
    SendMessageW(host.main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&b));
}

void toggleOption(const std::string& caption, const std::string& message) {
    expectDialog("Quillet", IDOK);
    command(optionId(caption));
    check(sawTitle(takeSeen(), "Quillet", message), caption + ": \"" + message + "\"");
}

// "=" then Enter, and the selection's value in the status bar, in both views.
void scenarioResultsAsYouType(const char* screenshot) {
    toggleOption("Evaluate on =", "Evaluate on = enabled.");
    toggleOption("Selection in status bar", "Selection in status bar enabled.");
    check(optionChecked("Evaluate on =") && optionChecked("Selection in status bar"),
          "both new options checked");
    const std::string ini = readFile("plugins\\Quillet\\Quillet.INI");
    check(ini.find("Eval On Equal=1") != std::string::npos &&
              ini.find("Selection In Status Bar=1") != std::string::npos,
          "settings file has both new keys: " + shown(ini));
    for (int index : {1, 0}) {
        const std::string which = index ? " (second view)" : " (main view)";
        host.currentView = index;
        fake::View& v = host.view[index];
        v.text.clear();
        v.caret = v.anchor = 0;
        v.undoSteps.clear();
        typeKeys(index, "Var = x ; 4=\n2+3=\nx*2.5=\n1/0=\n");
        check(v.text == "Var = x ; 4=\r\n2+3=5\r\nx*2.5=10\r\n1/0=Error 8: Division by zero\r\n",
              "values inserted after \"=\"" + which + ": " + shown(v.text));
        check(v.caret == static_cast<std::intptr_t>(v.text.size()),
              "caret stays after Enter" + which);
        v.handle(npp::SCI_UNDO, 0, 0);
        check(v.text.size() >= 6 && v.text.compare(v.text.size() - 6, 6, "1/0=\r\n") == 0,
              "one undo removes the last value" + which);
        v.text += "sqrt(16) or hello";
        const auto at = static_cast<std::intptr_t>(v.text.find("sqrt"));
        selectIn(index, at, at + 8);
        check(host.status == "= 4",
              "status bar shows the selection's value" + which + ": " + host.status);
        selectIn(index, at + 12, at + 17);
        check(host.status == "Normal text file",
              "a word that is no formula gives the field back" + which + ": " + host.status);
    }
    check(takeSeen().empty(), "no dialog while typing and selecting");
    const auto sqrtAt = static_cast<std::intptr_t>(host.view[0].text.find("sqrt"));
    selectIn(0, sqrtAt, sqrtAt + 8);
    if (screenshot) saveScreenshot(screenshot);

    toggleOption("Evaluate on =", "Evaluate on = disabled.");
    toggleOption("Selection in status bar", "Selection in status bar disabled.");
    check(host.status == "Normal text file", "switching off gives the status field back");
    fake::View& v = host.view[0];
    v.text.clear();
    v.caret = v.anchor = 0;
    typeKeys(0, "2+3=\nsqrt(16)");
    selectIn(0, 6, 14);
    check(v.text == "2+3=\r\nsqrt(16)" && host.status == "Normal text file",
          "both options off: nothing inserted, status bar alone");
}

void scenarioCurFile() {
    wchar_t dir[MAX_PATH] = {0};
    GetCurrentDirectoryW(MAX_PATH, dir);
    const std::string folder = utf8(dir) + "\\docs";
    CreateDirectoryW(wide(folder).c_str(), nullptr);
    const std::string script = folder + "\\calc.zrt";
    {
        std::ofstream out(script, std::ios::binary);
        out << "Expr = 1+1\r\nExpr = 10/4\r\n";
    }
    DeleteFileW(wide(folder + "\\Result.zrt").c_str());
    host.view[0].path = script;
    runItem(0);
    takeSeen();
    const std::string result = readFile(folder + "\\Result.zrt");
    check(result.find("2.5") != std::string::npos,
          "Result.zrt written beside the script: " + shown(result.substr(0, 200)));
    check(!host.reloaded.empty() && host.reloaded.back() == folder + "\\Result.zrt",
          "host asked to reload Result.zrt");
    check(!host.opened.empty() && host.opened.back() == folder + "\\Result.zrt",
          "host asked to show Result.zrt");
}

// The host's own folder (the file commands move the current directory to
// the document's).
std::string gHostFolder;

std::string currentFolder() {
    return gHostFolder;
}

// Each command works after each other one: nothing a run asks for alone (the
// line selection of Eval CurLine To File, say) may stay for the next. The
// line to evaluate is the script's third; a selection of it is one line.
void scenarioEveryCommandAfterEveryOther() {
    const std::string folder = currentFolder() + "\\docs";
    const std::string script = folder + "\\every.zrt";
    const int items[] = {0, 1, 3, 4, 5};  // the file commands and the three Wnd commands
    const char* names[] = {"CurFile",      "CurLineToFile", "",
                           "CurLineToWnd", "SelTextToWnd",  "ExpressionToWnd"};
    int value = 2000;
    auto runAndCheck = [&](int item) {
        const std::string number = std::to_string(++value);
        const std::string line = "Expr = " + number + "+0";
        const std::string text = "' first\r\n' second\r\n" + line + "\r\n";
        {
            std::ofstream out(script, std::ios::binary);
            out << text;
        }
        fake::View& v = host.view[0];
        v.path = script;
        v.text = text;
        const std::intptr_t start = static_cast<std::intptr_t>(text.find("Expr"));
        v.select(start, start + static_cast<std::intptr_t>(line.size()));
        runItem(item);
        const std::string want = "Number = " + number + "\r\n";
        if (item <= 1) return readFile(folder + "\\Result.zrt").find(want) != std::string::npos;
        return v.text.find(want) != std::string::npos;
    };
    int failed = 0;
    for (int first : items) {
        for (int second : items) {
            const bool ok = runAndCheck(first) && runAndCheck(second);
            if (!ok) {
                ++failed;
                check(false, std::string(names[second]) + " after " + names[first]);
            }
        }
    }
    check(failed == 0, "every editor command inserts its result after every other one");
    check(takeSeen().empty(), "no dialog between the commands");
}

// The reload of Result.zrt asks first only when the open file has changes
// the user made.
void scenarioReloadAlert() {
    const std::string folder = currentFolder() + "\\docs";
    const std::string result = folder + "\\Result.zrt";
    fake::View& v = host.view[0];
    v.path = folder + "\\calc.zrt";
    v.otherTabs = {{result, "old result", false}};
    runItem(0);
    check(!host.reloadAlerts.empty() && !host.reloadAlerts.back(),
          "unchanged Result.zrt in a hidden tab reloads without a question");
    host.view[1].path = result;
    host.view[1].modified = true;
    runItem(0);
    check(!host.reloadAlerts.empty() && host.reloadAlerts.back(),
          "Result.zrt with unsaved changes: the reload asks first");
    host.view[1].modified = false;
    runItem(1);
    check(!host.reloadAlerts.empty() && !host.reloadAlerts.back(),
          "unchanged Result.zrt shown in the second view reloads without a question");
    host.view[1].path = "C:\\new 2";
    v.otherTabs.clear();
    takeSeen();
}

bool reddish(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) > 160 && ((rgb >> 8) & 0xFF) < 110 && (rgb & 0xFF) < 110;
}

int redPixels(const zrt::Image& picture) {
    int n = 0;
    for (std::uint32_t p : picture.pixels)
        if (reddish(p)) ++n;
    return n;
}

// The red pixels the screen shows inside a window.
int redOnScreen(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w < 1 || h < 1) return 0;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    int n = 0;
    for (int y = 0; y < h; y += 2)
        for (int x = 0; x < w; x += 2) {
            const COLORREF c = GetPixel(mem, x, y);
            if (reddish((std::uint32_t{GetRValue(c)} << 16) | (std::uint32_t{GetGValue(c)} << 8) |
                        GetBValue(c)))
                ++n;
        }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return n;
}

// Two Plot lines through the plug-in, with the themed controls of today's
// Notepad++: both windows paint, both pictures are saved and show the curve,
// and the host keeps answering (the watchdog ends a host that hangs).
void scenarioPlots() {
    Watch watch("plot scenario", 120);
    const std::string folder = currentFolder() + "\\docs";
    const std::string pictures = currentFolder() + "\\plots";
    CreateDirectoryW(wide(pictures).c_str(), nullptr);
    // The editor commands save no pictures: a run through the library's own
    // entry asks for them, and "/spl" stays for the runs after it.
    decltype(&::zrtEvalMain) evalMain = nullptr;
    if (!resolve(evalMain, "zrtEvalMain")) return;
    const std::wstring spl = wide(" /spl:" + pictures + "\\ /sel:'Pause = 0' /");
    evalMain(spl.c_str());
    const std::string script = folder + "\\plots.zrt";
    {
        std::ofstream out(script, std::ios::binary);
        out << "Plot = sin(x)*x^2 ; -5 ; x ; 5 ; 200\r\nPlot = sin(x)*x^2 ; -5 ; x ; 5 ; 200\r\n";
    }
    host.view[0].path = script;
    runItem(0);
    pump(300);
    takeSeen();
    const std::string result = readFile(folder + "\\Result.zrt");
    std::vector<std::string> files;
    for (std::size_t at = result.find("FileName => "); at != std::string::npos;
         at = result.find("FileName => ", at + 1)) {
        const std::size_t start = at + 12;
        const std::size_t end = result.find_first_of("\r\n", start);
        files.push_back(result.substr(start, end - start));
    }
    check(files.size() == 2, "two pictures saved: " + shown(result.substr(0, 400)));
    for (int n = 1; n <= 2; ++n) {
        const std::string title = "aPlot #" + std::to_string(n);
        HWND h = FindWindowW(L"QuilletPlotWindow", wide(title).c_str());
        check(h != nullptr, title + " open");
        if (!h) continue;
        DWORD_PTR answer = 0;
        RedrawWindow(h, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        check(SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0,
              title + " answers after painting");
        pump(200);
        check(redOnScreen(h) > 20, title + " shows its curve on the screen");
    }
    for (const std::string& f : files) {
        const zrt::Image picture = testjpeg::readJpeg(f);
        check(!picture.empty() && redPixels(picture) > 100,
              "picture " + f + " decoded with the red curve (" +
                  std::to_string(redPixels(picture)) + " red pixels)");
        DeleteFileW(wide(f).c_str());
    }
    // The next run closes the windows of this one.
    evalMain(L" /sel:'Pause = 0' /");
    check(FindWindowW(L"QuilletPlotWindow", nullptr) == nullptr,
          "plot windows closed by the next run");
    RemoveDirectoryW(wide(pictures).c_str());
}

void scenarioAbout() {
    runItem(10);
    check(!gMessagesWindows.empty() &&
              gMessagesWindows.back().find("Quillet.dll") != std::string::npos,
          "About Quillet shows the about text in the messages window");
}

void scenarioInstallHighlighting() {
    // Today's host names its settings folder; the older one only the plug-in
    // configuration folder, two levels below it (in the host's folder here).
    const std::wstring settings =
        host.generation == fake::Generation::Today ? host.settingsDir : wide(host.startFolder);
    const std::string file = utf8(settings) + "\\userDefineLangs\\Quillet.udl.xml";
    DeleteFileW(wide(file).c_str());
    expectDialog("Quillet", IDOK);
    command(optionId("Install script highlighting"));
    check(sawTitle(takeSeen(), "Quillet", "after a restart"), "script highlighting installed");
    check(readFile(file).find("<UserLang name=\"Quillet\" ext=\"zrt\"") != std::string::npos,
          "Quillet.udl.xml in " + file);
    expectDialog("Quillet", IDNO);
    command(optionId("Install script highlighting"));
    check(sawTitle(takeSeen(), "Quillet", "exists already"), "asks before replacing the file");
}

void scenarioShowCommands() {
    command(optionId("Show Commands"));
    check(!gMessagesWindows.empty() &&
              gMessagesWindows.back().find("Expr") != std::string::npos,
          "Show Commands reads ShowCmds.zrt beside the DLL");
}

// ---- Dark mode ----

void switchDarkMode(bool on) {
    host.darkMode = on;
    NotificationBuffer b{};
    b.n.nmhdr.hwndFrom = host.main;
    b.n.nmhdr.code = npp::NPPN_DARKMODECHANGED;
    host.beNotified(&b);
    pump(100);
}

std::size_t themedCount(const std::string& windowClass, WPARAM flags,
                        const std::string& title = "") {
    std::size_t n = 0;
    for (const auto& t : host.themed)
        n += t.windowClass == windowClass && t.flags == flags && (title.empty() || t.title == title);
    return n;
}

// Our windows ask the host when they open; today's host themes them (its
// colours on the frame and fields) and switches them back; the older host
// does not know the messages and gets plain windows.
void scenarioDarkMode(bool screenshot) {
    const bool today = host.generation == fake::Generation::Today;
    host.themed.clear();
    host.darkMode = true;
    host.darkColours[0] = RGB(0x20, 0x28, 0x30);
    host.darkColours[1] = RGB(0x38, 0x40, 0x48);
    fake::View& v = host.view[0];
    v.text = "Plot = sin(x)*x^2 ; -10 ; x ; 10 ; 200";
    v.select(0, static_cast<std::intptr_t>(v.text.size()));
    runItem(4);  // confirmation is off since an earlier scenario
    takeSeen();
    HWND plot = FindWindowW(L"QuilletPlotWindow", nullptr);
    check(plot != nullptr, "a plot window is open");
    if (!plot) return;
    check(themedCount("QuilletPlotWindow", kDarkModeInit) == (today ? 1u : 0u),
          "the plot window asked the host to theme it: " + std::to_string(host.themed.size()));
    const COLORREF plain = GetSysColor(COLOR_BTNFACE);
    // Between the "to" field and "Close": the window's face; inside the from-field.
    const COLORREF face = screenPixel(plot, 305, 392);
    const COLORREF field = screenPixel(plot, 200, 385);
    check(face == (today ? host.darkColours[0] : plain),
          "plot window face " + colourText(face) + (today ? " is the host's background" : " plain"));
    if (today) {
        check(field == host.darkColours[1], "plot fields in the host's softer background: " +
                                                colourText(field));
        if (screenshot) saveWindowShot(plot, host.startFolder + "\\dark-plot.bmp", true);
    }

    expectDialog("Quillet Input", IDOK, "4");
    command(optionId("Decimals"));
    takeSeen();
    runItem(10);  // About Quillet: the messages window
    check(themedCount("#32770", kDarkModeInit, "Quillet Input") == (today ? 1u : 0u),
          "the Decimals dialog asked to be themed");
    check(themedCount("QuilletMessages", kDarkModeInit) == (today ? 1u : 0u),
          "the messages window asked to be themed");

    if (today) {
        switchDarkMode(false);
        check(themedCount("QuilletPlotWindow", kDarkModeHandleChange) == 1,
              "the open plot window follows the switch");
        const COLORREF light = screenPixel(plot, 305, 392);
        check(light == plain, "plot window light again: " + colourText(light));
        switchDarkMode(true);
        const COLORREF dark = screenPixel(plot, 305, 392);
        check(dark == host.darkColours[0], "and dark again: " + colourText(dark));
    }
    host.darkMode = false;
    SendMessageW(plot, WM_CLOSE, 0, 0);
    check(!IsWindow(plot), "plot window closed");
}

void scenarioUnload() {
    const WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.main, GWLP_WNDPROC));
    host.messageProc = nullptr;
    host.beNotified = nullptr;
    host.items = nullptr;
    FreeLibrary(host.dll);
    check(current != host.originalProc, "subclassed until unloaded");
    check(
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.main, GWLP_WNDPROC)) == host.originalProc,
        "unloading restores the window procedure");
    check(host.view[0].dwellTime == 10000000 && host.view[1].dwellTime == 10000000,
          "unloading restores the dwell time of both views");
    RECT r;
    GetClientRect(host.main, &r);
    SendMessageW(host.main, WM_SIZE, 0, MAKELPARAM(r.right, r.bottom));
    check(true, "the host still answers after unloading");
}

}  // namespace

int main(int argc, char** argv) {
    const char* screenshot = nullptr;
    const char* liveShot = nullptr;
    bool release = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--old") == 0)
            host.generation = fake::Generation::Old;
        else if (std::strcmp(argv[i], "--live-shot") == 0 && i + 1 < argc)
            liveShot = argv[++i];
        else if (std::strcmp(argv[i], "--release") == 0)
            release = true;
        else
            screenshot = argv[i];
    }
    std::printf("host generation: %s\n", fake::generationName(host.generation));
    if (host.generation == fake::Generation::Today) {
        check(createCommonControls6(), "Common Controls 6 manifest activated");
        activateCommonControls6();
    }
    gMainThread = GetCurrentThreadId();
    SetTimer(nullptr, 0, 40, watcherTick);
    // Under qemu's i386 emulation every thread's TEB hangs on one shared
    // descriptor, so a second thread in an emulated Wine process sooner or
    // later runs on another thread's TEB: there the host stays on one thread,
    // and the test script's silence limit stands in for the watchdog.
    if (!GetEnvironmentVariableW(L"QUILLET_HOST_ONE_THREAD", nullptr, 0))
        CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr);
    createWindows(GetModuleHandleW(nullptr));
    wchar_t dir[MAX_PATH] = {0};
    GetCurrentDirectoryW(MAX_PATH, dir);
    host.configDir = std::wstring(dir) + L"\\plugins\\Config";
    host.settingsDir = std::wstring(dir) + L"\\settings";
    host.startFolder = utf8(dir);
    gHostFolder = utf8(dir);
    if (!loadPlugin()) return 1;
    scenarioLoad();
    scenarioOptionsMenu();
    scenarioSelection();
    if (release) {
        // A package just unpacked: it loads, evaluates, finds its files.
        scenarioInstallHighlighting();
        scenarioShowCommands();
        scenarioAbout();
        scenarioUnload();
        DestroyWindow(host.main);
        std::printf(gFailures ? "FAILURES: %d\n" : "all release scenarios passed\n", gFailures);
        return gFailures ? 1 : 0;
    }
    if (screenshot) saveScreenshot(screenshot);
    scenarioCurrentLineWithoutConfirmation();
    scenarioSelectionSizes();
    scenarioExpression();
    scenarioToolTip();
    scenarioIniFile();
    scenarioResultsAsYouType(liveShot);
    scenarioCurFile();
    scenarioEveryCommandAfterEveryOther();
    scenarioReloadAlert();
    scenarioPlots();
    scenarioInstallHighlighting();
    scenarioDarkMode(screenshot != nullptr);
    scenarioAbout();
    scenarioUnload();
    DestroyWindow(host.main);
    std::printf(gFailures ? "FAILURES: %d\n" : "all host scenarios passed\n", gFailures);
    return gFailures ? 1 : 0;
}
