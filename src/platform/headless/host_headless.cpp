// The window system the headless platform offers the fake host of the tests:
// windows are message handlers registered under a handle, a subclass sits in
// front of a window's own handler, and menus are plain lists of items.
#include <map>
#include <memory>
#include <vector>

#include "platform/headless/headless.h"

namespace zrt::headless {

namespace {

struct Window {
    MessageHandler handler;
    platform::WindowProcedure subclass = nullptr;
    platform::MenuHandle menu = nullptr;
};

struct MenuItem {
    unsigned id = 0;
    std::string text;
    platform::MenuHandle popup = nullptr;
    bool checked = false;
    bool separator = false;
};

struct HostState {
    std::map<platform::WindowHandle, std::shared_ptr<Window>> windows;
    std::map<platform::MenuHandle, std::vector<MenuItem>> menus;
    std::uintptr_t nextMenu = 0x7000;
};

HostState& hostState() {
    static HostState state;
    return state;
}

std::shared_ptr<Window> window(platform::WindowHandle handle) {
    auto& w = hostState().windows;
    const auto it = w.find(handle);
    return it == w.end() ? nullptr : it->second;
}

std::vector<MenuItem>* items(platform::MenuHandle menu) {
    auto& m = hostState().menus;
    const auto it = m.find(menu);
    return it == m.end() ? nullptr : &it->second;
}

// Finds an item by command id, searching submenus as Windows does.
MenuItem* byCommand(platform::MenuHandle menu, unsigned id, int depth = 0) {
    std::vector<MenuItem>* list = items(menu);
    if (!list || depth > 16) return nullptr;
    for (MenuItem& item : *list) {
        if (!item.popup && item.id == id) return &item;
        if (item.popup)
            if (MenuItem* found = byCommand(item.popup, id, depth + 1)) return found;
    }
    return nullptr;
}

}  // namespace

void registerWindow(platform::WindowHandle handle, MessageHandler handler) {
    auto w = std::make_shared<Window>();
    w->handler = std::move(handler);
    hostState().windows[handle] = std::move(w);
}

void unregisterWindow(platform::WindowHandle handle) {
    hostState().windows.erase(handle);
}

void setWindowMenu(platform::WindowHandle handle, platform::MenuHandle menu) {
    if (auto w = window(handle)) w->menu = menu;
}

std::intptr_t installedProcedure(platform::WindowHandle handle) {
    auto w = window(handle);
    return w ? reinterpret_cast<std::intptr_t>(w->subclass) : 0;
}

void resetWindows() {
    hostState() = HostState{};
    resetThemes();
}

}  // namespace zrt::headless

namespace zrt::platform {

using headless::hostState;

std::intptr_t sendMessage(WindowHandle handle, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    // Held while it runs: a handler may unregister its own window.
    const std::shared_ptr<headless::Window> w = headless::window(handle);
    if (!w) return 0;
    if (w->subclass) return w->subclass(handle, message, wParam, lParam);
    return w->handler ? w->handler(message, wParam, lParam) : 0;
}

std::intptr_t subclassWindow(WindowHandle handle, WindowProcedure procedure) {
    const std::shared_ptr<headless::Window> w = headless::window(handle);
    if (!w || w->subclass || !procedure) return 0;
    w->subclass = procedure;
    // The window's own procedure, as a number for the log.
    return reinterpret_cast<std::intptr_t>(w.get());
}

std::intptr_t callPreviousProcedure(WindowHandle handle, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    const std::shared_ptr<headless::Window> w = headless::window(handle);
    return w && w->handler ? w->handler(message, wParam, lParam) : 0;
}

bool restoreWindowProcedure(WindowHandle handle) {
    const std::shared_ptr<headless::Window> w = headless::window(handle);
    if (!w || !w->subclass) return false;
    w->subclass = nullptr;
    return true;
}

MenuHandle windowMenu(WindowHandle handle) {
    const std::shared_ptr<headless::Window> w = headless::window(handle);
    return w ? w->menu : nullptr;
}

int menuItemCount(MenuHandle menu) {
    const auto* list = headless::items(menu);
    return list ? static_cast<int>(list->size()) : -1;
}

MenuHandle subMenu(MenuHandle menu, int position) {
    const auto* list = headless::items(menu);
    if (!list || position < 0 || position >= static_cast<int>(list->size())) return nullptr;
    return (*list)[static_cast<std::size_t>(position)].popup;
}

int menuItemId(MenuHandle menu, int position) {
    const auto* list = headless::items(menu);
    if (!list || position < 0 || position >= static_cast<int>(list->size())) return -1;
    const headless::MenuItem& item = (*list)[static_cast<std::size_t>(position)];
    return item.popup ? -1 : static_cast<int>(item.id);
}

std::string menuString(MenuHandle menu, unsigned item, bool byPosition, int maxChars) {
    const headless::MenuItem* found = nullptr;
    if (byPosition) {
        const auto* list = headless::items(menu);
        if (list && item < list->size()) found = &(*list)[item];
    } else {
        found = headless::byCommand(menu, item);
    }
    if (!found || found->separator || maxChars <= 0) return {};
    return found->text.substr(0, static_cast<std::size_t>(maxChars - 1));
}

MenuHandle createPopupMenu() {
    auto& s = hostState();
    MenuHandle handle = reinterpret_cast<MenuHandle>(s.nextMenu);
    s.nextMenu += 0x10;
    s.menus[handle];
    return handle;
}

bool insertMenuItem(MenuHandle menu, int position, unsigned id, std::string_view text,
                    MenuHandle popup) {
    auto* list = headless::items(menu);
    if (!list) return false;
    headless::MenuItem item;
    item.id = id;
    item.text = std::string(text);
    item.popup = popup;
    const std::size_t at = position < 0 || static_cast<std::size_t>(position) > list->size()
                               ? list->size()
                               : static_cast<std::size_t>(position);
    list->insert(list->begin() + static_cast<std::ptrdiff_t>(at), item);
    return true;
}

bool makeMenuSeparator(MenuHandle menu, unsigned id) {
    headless::MenuItem* item = headless::byCommand(menu, id);
    if (!item) return false;
    item->separator = true;
    item->text.clear();
    return true;
}

int menuItemChecked(MenuHandle menu, unsigned id) {
    const headless::MenuItem* item = headless::byCommand(menu, id);
    return item ? (item->checked ? 1 : 0) : -1;
}

bool setMenuItemChecked(MenuHandle menu, unsigned id, bool checked) {
    headless::MenuItem* item = headless::byCommand(menu, id);
    if (!item) return false;
    item->checked = checked;
    return true;
}

}  // namespace zrt::platform
