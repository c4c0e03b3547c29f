// What the plug-in knows of Notepad++ and Scintilla: the published message
// numbers it sends and receives, and the layout of the records they exchange.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zerith.h"

namespace zrt::npp {

// Windows messages the subclass looks at.
constexpr unsigned kWmNotify = 0x004E;
constexpr unsigned kWmCommand = 0x0111;
constexpr unsigned kWmMenuSelect = 0x011F;
constexpr unsigned kMfPopup = 0x0010;  // WM_MENUSELECT flag: the item opens a pop-up

// Notepad++ (NPPMSG = WM_USER + 1000).
constexpr unsigned NPPM_GETCURRENTSCINTILLA = 2028;
constexpr unsigned NPPM_GETCURRENTDOCINDEX = 2047;  // lParam: 0 main view, 1 second view
constexpr unsigned NPPM_GETCURRENTLANGTYPE = 2029;
constexpr unsigned NPPM_SETSTATUSBAR = 2048;
constexpr unsigned STATUSBAR_DOC_TYPE = 0;
constexpr unsigned NPPM_GETMENUHANDLE = 2049;
constexpr unsigned NPPPLUGINMENU = 0;
constexpr unsigned NPPM_RELOADFILE = 2060;
constexpr unsigned NPPM_GETPLUGINSCONFIGDIR = 2070;
constexpr unsigned NPPM_GETFULLPATHFROMBUFFERID = 2082;
constexpr unsigned NPPM_GETBUFFERIDFROMPOS = 2083;  // wParam: tab index, lParam: view
constexpr unsigned NPPM_GETLANGUAGEDESC = 2108;
constexpr unsigned NPPM_DOOPEN = 2101;
constexpr unsigned NPPM_ISDARKMODEENABLED = 2131;
constexpr unsigned NPPM_GETDARKMODECOLORS = 2132;
constexpr unsigned NPPM_DARKMODESUBCLASSANDTHEME = 2136;
constexpr unsigned NPPM_GETNPPSETTINGSDIRPATH = 2143;
constexpr unsigned NPPN_DARKMODECHANGED = 1027;
constexpr unsigned NPPM_GETFULLCURRENTPATH = 4025;

// Scintilla.
constexpr unsigned SCI_INSERTTEXT = 2003;
constexpr unsigned SCI_GETLENGTH = 2006;
constexpr unsigned SCI_GETCURRENTPOS = 2008;
constexpr unsigned SCI_GOTOPOS = 2025;
constexpr unsigned SCI_GETEOLMODE = 2030;
constexpr unsigned SCI_GETTEXTRANGEFULL = 2039;
constexpr unsigned SCI_BEGINUNDOACTION = 2078;
constexpr unsigned SCI_ENDUNDOACTION = 2079;
constexpr unsigned SCI_GETCOLUMN = 2129;
constexpr unsigned SCI_GETLINEENDPOSITION = 2136;
constexpr unsigned SCI_GETCODEPAGE = 2137;
constexpr unsigned SCI_GETSELECTIONSTART = 2143;
constexpr unsigned SCI_GETSELECTIONEND = 2145;
constexpr unsigned SCI_GETLINE = 2153;
constexpr unsigned SCI_GETMODIFY = 2159;
constexpr unsigned SCI_GETSELTEXT = 2161;
constexpr unsigned SCI_GETTEXTRANGE = 2162;  // hosts without SCI_GETTEXTRANGEFULL only
constexpr unsigned SCI_UNDO = 2176;
constexpr unsigned SCI_LINEFROMPOSITION = 2166;
constexpr unsigned SCI_POSITIONFROMLINE = 2167;
constexpr unsigned SCI_SETTARGETSTART = 2190;
constexpr unsigned SCI_SETTARGETEND = 2192;
constexpr unsigned SCI_SEARCHINTARGET = 2197;
constexpr unsigned SCI_SETSEARCHFLAGS = 2198;
constexpr unsigned SCI_CALLTIPSHOW = 2200;
constexpr unsigned SCI_CALLTIPCANCEL = 2201;
constexpr unsigned SCI_CALLTIPACTIVE = 2202;
constexpr unsigned SCI_SETMOUSEDWELLTIME = 2264;
constexpr unsigned SCI_GETMOUSEDWELLTIME = 2265;
constexpr unsigned SCI_LINELENGTH = 2350;
constexpr unsigned SCN_SAVEPOINTREACHED = 2002;
constexpr unsigned SCN_SAVEPOINTLEFT = 2003;
constexpr unsigned SCN_CHARADDED = 2001;
constexpr unsigned SCN_UPDATEUI = 2007;
constexpr unsigned SCN_DWELLSTART = 2016;
constexpr unsigned SCN_DWELLEND = 2017;

constexpr int kScFindWholeWord = 2;
constexpr int SC_UPDATE_SELECTION = 0x2;
constexpr int kCodePageUtf8 = 65001;

// Sci_TextRangeFull: positions as pointer-sized integers.
struct TextRangeFull {
    std::intptr_t cpMin;
    std::intptr_t cpMax;
    char* lpstrText;
};

// Sci_TextRange of hosts before SCI_GETTEXTRANGEFULL: positions as Windows'
// long, 32 bits in both builds.
struct TextRange {
    std::int32_t cpMin;
    std::int32_t cpMax;
    char* lpstrText;
};

// SCNotification up to the `updated` flags of SCN_UPDATEUI (Scintilla always
// sends the whole record).
struct NotifyHeader {
    void* hwndFrom;
    std::uintptr_t idFrom;
    unsigned int code;
};
struct Notification {
    NotifyHeader nmhdr;
    std::intptr_t position;
    int ch;
    int modifiers;
    int modificationType;
    const char* text;
    std::intptr_t length;
    std::intptr_t linesAdded;
    int message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    std::intptr_t line;
    int foldLevelNow;
    int foldLevelPrev;
    int margin;
    int listType;
    int x;
    int y;
    int token;
    std::intptr_t annotationLinesAdded;
    int updated;
};

// Notepad++ reads these records with its own declarations; the layouts must match.
static_assert(sizeof(zrt_ShortcutKey) == 4, "ShortcutKey is four bytes");
static_assert(sizeof(bool) == 1, "bool fields of the interface are one byte");
static_assert(offsetof(zrt_FuncItem, _pFunc) == 128, "64 UTF-16 characters of caption");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(zrt_NppData) == 12, "three 32-bit handles");
static_assert(offsetof(zrt_FuncItem, _cmdID) == 132, "FuncItem layout (32-bit)");
static_assert(offsetof(zrt_FuncItem, _init2Check) == 136, "FuncItem layout (32-bit)");
static_assert(offsetof(zrt_FuncItem, _pShKey) == 140, "FuncItem layout (32-bit)");
static_assert(sizeof(zrt_FuncItem) == 144, "FuncItem layout (32-bit)");
static_assert(offsetof(Notification, x) == 72 && offsetof(Notification, y) == 76,
              "SCNotification layout (32-bit)");
static_assert(offsetof(Notification, updated) == 88, "SCNotification layout (32-bit)");
#else
static_assert(sizeof(zrt_NppData) == 24, "three 64-bit handles");
static_assert(offsetof(zrt_FuncItem, _cmdID) == 136, "FuncItem layout (x64)");
static_assert(offsetof(zrt_FuncItem, _init2Check) == 140, "FuncItem layout (x64)");
static_assert(offsetof(zrt_FuncItem, _pShKey) == 144, "FuncItem layout (x64)");
static_assert(sizeof(zrt_FuncItem) == 152, "FuncItem layout (x64)");
static_assert(offsetof(Notification, x) == 120 && offsetof(Notification, y) == 124,
              "SCNotification layout (x64)");
static_assert(offsetof(Notification, updated) == 144, "SCNotification layout (x64)");
#endif
static_assert(sizeof(TextRangeFull) == 3 * sizeof(void*), "Sci_TextRangeFull layout");
static_assert(offsetof(TextRange, lpstrText) == 8, "Sci_TextRange layout");

}  // namespace zrt::npp
