#include "support/fake_npp.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/text16.h"
#include "platform/headless/headless.h"
#include "plugin/nppinterface.h"

namespace fake {

namespace {

namespace npp = zrt::npp;
namespace platform = zrt::platform;

constexpr unsigned kPluginCommandBase = 22000;  // Notepad++'s ID_PLUGINS_CMD

}  // namespace

std::string text16(const void* p) {
    return zrt::fromUtf16(static_cast<const char16_t*>(p));
}

Npp::Npp(Generation generation, const std::string& pluginsCaption) : generation_(generation) {
    main.path = "C:\\work\\new 1";
    second.path = "C:\\work\\new 2";
    main.generation = second.generation = generation;
    namespace headless = zrt::headless;
    headless::registerWindow(
        hwnd(), [this](unsigned m, std::uintptr_t w, std::intptr_t l) { return handle(m, w, l); });
    headless::registerWindow(&main, [this](unsigned m, std::uintptr_t w, std::intptr_t l) {
        return main.handle(m, w, l);
    });
    headless::registerWindow(&second, [this](unsigned m, std::uintptr_t w, std::intptr_t l) {
        return second.handle(m, w, l);
    });

    // Notepad++'s menu bar: the plug-ins menu at position 10, the help menu
    // "?" last among the pop-ups, then a plain item (the tab bar's close button).
    bar_ = platform::createPopupMenu();
    std::string menus[] = {"&File",     "&Edit",     "&Search", "&View",  "Encoding",
                           "&Language", "Se&ttings", "T&ools",  "&Macro", "&Run",
                           "&Plugins",  "&Window",   "&?"};
    if (generation == Generation::Old) menus[10] = "Plugins";
    if (!pluginsCaption.empty()) menus[10] = pluginsCaption;
    for (int i = 0; i < 13; ++i) {
        auto sub = platform::createPopupMenu();
        if (i == 10) {
            plugins_ = sub;
            platform::insertMenuItem(sub, -1, 46180, "Plugins Admin...");
            platform::insertMenuItem(sub, -1, 46181, "Open Plugins Folder...");
        } else if (i == 12) {
            for (unsigned id = 47000; id <= 47015; ++id)
                platform::insertMenuItem(sub, -1, id, "Help " + std::to_string(id));
        } else {
            platform::insertMenuItem(sub, -1, 41000 + 100 * i, menus[i] + " item");
            platform::insertMenuItem(sub, -1, 41001 + 100 * i, menus[i] + " other");
        }
        platform::insertMenuItem(bar_, -1, 0, menus[i], sub);
    }
    platform::insertMenuItem(bar_, -1, 45100, "X");
    headless::setWindowMenu(hwnd(), bar_);
}

Npp::~Npp() {
    zrt::headless::unregisterWindow(hwnd());
    zrt::headless::unregisterWindow(&main);
    zrt::headless::unregisterWindow(&second);
}

void Npp::load() {
    isUnicode();
    getName();
    zrt_NppData data{hwnd(), &main, &second};
    setInfo(data);
    int32_t n = 0;
    items = getFuncsArray(&n);
    itemCount = n;
    // The plug-in's submenu, first in the Plugins menu; Notepad++ writes its
    // own command ids into the items.
    quillet_ = platform::createPopupMenu();
    for (int i = 0; i < n; ++i) {
        const unsigned id = kPluginCommandBase + static_cast<unsigned>(i);
        items[i]._cmdID = static_cast<int32_t>(id);
        if (!items[i]._pFunc) {
            platform::insertMenuItem(quillet_, -1, id, "");
            platform::makeMenuSeparator(quillet_, id);
        } else {
            platform::insertMenuItem(quillet_, -1, id, text16(items[i]._itemName));
        }
    }
    platform::insertMenuItem(plugins_, 0, 0, "Quillet", quillet_);
    // Notepad++ relays its window messages to every plug-in.
    messageProc(0x0005, 0, 0);
}

std::intptr_t Npp::send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::sendMessage(hwnd(), message, wParam, lParam);
}

void Npp::openMenu(int index) {
    const std::uintptr_t w =
        (static_cast<std::uintptr_t>(npp::kMfPopup) << 16) | static_cast<std::uintptr_t>(index);
    send(npp::kWmMenuSelect, w, reinterpret_cast<std::intptr_t>(bar_));
}

void Npp::runItem(int item) {
    command(kPluginCommandBase + static_cast<unsigned>(item));
}

std::intptr_t Npp::command(unsigned id) {
    return send(npp::kWmCommand, id, 0);
}

unsigned Npp::optionId(const std::string& caption) const {
    // Options is a pop-up inside the plug-in's submenu.
    const int n = platform::menuItemCount(quillet_);
    for (int i = 0; i < n; ++i) {
        const auto sub = platform::subMenu(quillet_, i);
        if (!sub) continue;
        const int m = platform::menuItemCount(sub);
        for (int k = 0; k < m; ++k)
            if (platform::menuString(sub, static_cast<unsigned>(k), true, 256) == caption)
                return static_cast<unsigned>(platform::menuItemId(sub, k));
    }
    return 0;
}

bool Npp::optionChecked(const std::string& caption) const {
    return platform::menuItemChecked(bar_, optionId(caption)) == 1;
}

void Npp::dwell(std::intptr_t position, int x, int y, View* view) {
    npp::Notification n{};
    n.nmhdr.hwndFrom = view ? view : &main;
    n.nmhdr.code = npp::SCN_DWELLSTART;
    n.position = position;
    n.x = x;
    n.y = y;
    send(npp::kWmNotify, 0, reinterpret_cast<std::intptr_t>(&n));
}

void Npp::dwellEnd(View* view) {
    npp::Notification n{};
    n.nmhdr.hwndFrom = view ? view : &main;
    n.nmhdr.code = npp::SCN_DWELLEND;
    send(npp::kWmNotify, 0, reinterpret_cast<std::intptr_t>(&n));
}

void Npp::savePoint(View& view, bool left) {
    view.modified = left;
    npp::Notification n{};
    n.nmhdr.hwndFrom = &view;
    n.nmhdr.code = left ? npp::SCN_SAVEPOINTLEFT : npp::SCN_SAVEPOINTREACHED;
    send(npp::kWmNotify, 0, reinterpret_cast<std::intptr_t>(&n));
}

void Npp::type(View& view, const std::string& keys) {
    auto notifyChar = [&](char c) {
        npp::Notification n{};
        n.nmhdr.hwndFrom = &view;
        n.nmhdr.code = npp::SCN_CHARADDED;
        n.ch = static_cast<unsigned char>(c);
        send(npp::kWmNotify, 0, reinterpret_cast<std::intptr_t>(&n));
    };
    for (char c : keys) {
        const std::string typed = c == '\n' ? view.eol() : std::string(1, c);
        view.typeText(typed);
        for (char t : typed) notifyChar(t);
    }
}

void Npp::selectIn(View& view, std::intptr_t anchorPos, std::intptr_t caretPos) {
    view.select(anchorPos, caretPos);
    npp::Notification n{};
    n.nmhdr.hwndFrom = &view;
    n.nmhdr.code = npp::SCN_UPDATEUI;
    n.updated = npp::SC_UPDATE_SELECTION;
    send(npp::kWmNotify, 0, reinterpret_cast<std::intptr_t>(&n));
}

void Npp::undo(View& view) {
    view.handle(npp::SCI_UNDO, 0, 0);
}

void Npp::switchDarkMode(bool on) {
    darkMode = on;
    // Notepad++'s SCNotification head: the main window, no id, the code.
    npp::NotifyHeader header{hwnd(), 0, npp::NPPN_DARKMODECHANGED};
    beNotified(&header);
}

namespace {

std::intptr_t copyFolder(const std::string& folder, std::uintptr_t wParam, std::intptr_t lParam) {
    const std::u16string dir = zrt::toUtf16(folder);
    if (!lParam) return static_cast<std::intptr_t>(dir.size());
    if (wParam <= dir.size()) return 0;
    std::memcpy(reinterpret_cast<char16_t*>(lParam), dir.c_str(), (dir.size() + 1) * 2);
    return 1;
}

}  // namespace

std::intptr_t Npp::handle(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::intptr_t answer = 0;
    if (fake::answerOpenDocuments(main, second, message, wParam, lParam, answer)) return answer;
    switch (message) {
        case npp::NPPM_SETSTATUSBAR:
            if (!lParam) return 0;
            statusBar[static_cast<int>(wParam)] = text16(reinterpret_cast<const void*>(lParam));
            ++statusSets;
            return 1;
        case npp::NPPM_GETCURRENTLANGTYPE:
            if (lParam) *reinterpret_cast<int*>(lParam) = current().langType;
            return 1;
        case npp::NPPM_GETLANGUAGEDESC: {
            const std::u16string desc = zrt::toUtf16(languageDescription(static_cast<int>(wParam)));
            if (lParam)
                std::memcpy(reinterpret_cast<char16_t*>(lParam), desc.c_str(),
                            (desc.size() + 1) * 2);
            return static_cast<std::intptr_t>(desc.size());
        }
        case npp::NPPM_GETCURRENTSCINTILLA:
            if (lParam) *reinterpret_cast<int*>(lParam) = currentView;
            return 1;
        case npp::NPPM_GETMENUHANDLE:
            // Unknown to the older host: 0, as for every message it does not know.
            if (generation_ == Generation::Old) return 0;
            return reinterpret_cast<std::intptr_t>(wParam == npp::NPPPLUGINMENU ? plugins_ : bar_);
        case npp::NPPM_RELOADFILE:
            reloaded.push_back(text16(reinterpret_cast<const void*>(lParam)));
            reloadAlerts.push_back(wParam != 0);
            return 1;
        case npp::NPPM_GETFULLPATHFROMBUFFERID: {
            const std::string* path = openDocumentPath(main, second, wParam);
            if (!path) return -1;
            const std::u16string wide = zrt::toUtf16(*path);
            if (lParam)
                std::memcpy(reinterpret_cast<char16_t*>(lParam), wide.c_str(),
                            (wide.size() + 1) * 2);
            return static_cast<std::intptr_t>(wide.size());
        }
        case npp::NPPM_DOOPEN:
            opened.push_back(text16(reinterpret_cast<const void*>(lParam)));
            return 1;
        case npp::NPPM_GETPLUGINSCONFIGDIR:
            return copyFolder(configDir, wParam, lParam);
        case npp::NPPM_GETNPPSETTINGSDIRPATH:
            if (generation_ == Generation::Old) return 0;
            return copyFolder(settingsDir, wParam, lParam);
        case npp::NPPM_ISDARKMODEENABLED:
            return generation_ == Generation::Today && darkMode ? 1 : 0;
        case npp::NPPM_GETDARKMODECOLORS:
            if (generation_ == Generation::Old || wParam != sizeof darkColours || !lParam) return 0;
            std::memcpy(reinterpret_cast<void*>(lParam), darkColours, sizeof darkColours);
            return 1;
        case npp::NPPM_DARKMODESUBCLASSANDTHEME:
            if (generation_ == Generation::Old) return 0;
            themed.push_back({reinterpret_cast<void*>(lParam), wParam});
            return 1;
        case npp::NPPM_GETFULLCURRENTPATH: {
            const std::u16string path = zrt::toUtf16(current().path);
            if (!lParam || wParam <= path.size()) return 0;
            std::memcpy(reinterpret_cast<char16_t*>(lParam), path.c_str(), (path.size() + 1) * 2);
            return 1;
        }
        case npp::kWmMenuSelect:
            ++menuSelectsSeen;
            return 0;
        case npp::kWmNotify:
            ++notifiesSeen;
            return 0;
        case npp::kWmCommand: {
            const unsigned id = static_cast<unsigned>(wParam & 0xFFFF);
            commandsSeen.push_back(id);
            // A plug-in command: Notepad++ calls the item's function.
            if (items && id >= kPluginCommandBase &&
                id < kPluginCommandBase + static_cast<unsigned>(itemCount)) {
                const zrt_FuncItem& item = items[id - kPluginCommandBase];
                if (item._pFunc) item._pFunc();
            }
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace fake
