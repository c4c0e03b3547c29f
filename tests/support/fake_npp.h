// A fake Notepad++ for the plug-in tests, of either generation: a main window
// with a menu bar whose plug-ins menu gets the plug-in's submenu, and two Scintilla views over
// in-memory documents. It answers the Notepad++ and Scintilla messages the
// plug-in sends (positions are byte offsets, documents UTF-8 by default) and
// drives the plug-in as the editor does: isUnicode, getName, setInfo,
// getFuncsArray, messageProc, menu commands through WM_COMMAND, WM_MENUSELECT
// and dwell notifications.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/fake_scintilla.h"
#include "zerith.h"

namespace fake {

class Npp {
   public:
    // `pluginsCaption` replaces the generation's caption of the plug-ins menu
    // (another language, say).
    explicit Npp(Generation generation = Generation::Today, const std::string& pluginsCaption = "");
    ~Npp();
    Npp(const Npp&) = delete;
    Npp& operator=(const Npp&) = delete;

    void* hwnd() { return &mainWindowTag_; }
    View main, second;
    int currentView = 0;
    std::string configDir;    // NPPM_GETPLUGINSCONFIGDIR
    std::string settingsDir;  // NPPM_GETNPPSETTINGSDIRPATH (today's host only)
    // Dark mode (today's host only): NPPM_ISDARKMODEENABLED answers `darkMode`,
    // NPPM_GETDARKMODECOLORS copies `darkColours`; every
    // NPPM_DARKMODESUBCLASSANDTHEME is recorded with its flags.
    bool darkMode = false;
    std::uint32_t darkColours[12] = {0x202020, 0x404040, 0x404040, 0x202020, 0xB00000,
                                     0xE0E0E0, 0xC0C0C0, 0x808080, 0xFFC000, 0x646464,
                                     0x9B9B9B, 0x484848};
    struct Themed {
        void* window;
        std::uintptr_t flags;
    };
    std::vector<Themed> themed;
    // Notepad++ tells its plug-ins that dark mode was switched (NPPN_DARKMODECHANGED).
    void switchDarkMode(bool on);
    std::vector<std::string> reloaded, opened;
    std::vector<bool> reloadAlerts;      // NPPM_RELOADFILE: whether it asked the user first
    std::vector<unsigned> commandsSeen;  // WM_COMMAND ids that reached the host
    int menuSelectsSeen = 0;
    int notifiesSeen = 0;
    // The status bar's fields (NPPM_SETSTATUSBAR); the first shows the
    // document's language, and the number of times a field was set.
    std::map<int, std::string> statusBar{{0, "Normal text file"}};
    int statusSets = 0;

    // Loads the plug-in as Notepad++ does and lets it subclass the window.
    void load();
    // The menu bar and its menus.
    zrt::platform::MenuHandle menuBar() const { return bar_; }
    zrt::platform::MenuHandle pluginsMenu() const { return plugins_; }
    zrt::platform::MenuHandle quilletMenu() const { return quillet_; }
    int pluginsIndex() const { return 10; }

    std::intptr_t send(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // The user opens the top-level menu at `index`.
    void openMenu(int index);
    // The user picks menu item `item` (0-based) of the plug-in's submenu.
    void runItem(int item);
    // The user picks the menu item with this id (WM_COMMAND, lParam 0).
    std::intptr_t command(unsigned id);
    // The id of the Options entry with this caption (0 when there is none).
    unsigned optionId(const std::string& caption) const;
    bool optionChecked(const std::string& caption) const;
    // The mouse rests at `position` of a view (SCN_DWELLSTART), and moves on.
    void dwell(std::intptr_t position, int x = 20, int y = 20, View* view = nullptr);
    void dwellEnd(View* view = nullptr);
    // The document `view` shows leaves its save point (the user types) or
    // reaches it again (saved): Scintilla tells the main window.
    void savePoint(View& view, bool left);
    // The user types into a view: each character arrives in the document,
    // then as SCN_CHARADDED; "\n" stands for Enter, which inserts the view's
    // line end and notifies each of its characters.
    void type(View& view, const std::string& keys);
    // The user selects in a view (SCN_UPDATEUI with the selection flag).
    void selectIn(View& view, std::intptr_t anchorPos, std::intptr_t caretPos);
    // Edit > Undo in a view.
    void undo(View& view);

    View& current() { return currentView ? second : main; }

    zrt_FuncItem* items = nullptr;
    int itemCount = 0;

   private:
    std::intptr_t handle(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    char mainWindowTag_ = 0;
    Generation generation_;
    zrt::platform::MenuHandle bar_ = nullptr, plugins_ = nullptr, quillet_ = nullptr;
};

// Copies UTF-16 host text.
std::string text16(const void* p);

}  // namespace fake
