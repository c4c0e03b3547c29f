#include "plugin/menus.h"

#include <algorithm>
#include <cstdio>

#include "base/barrier.h"
#include "base/scopedflag.h"
#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "plugin/commands.h"
#include "plugin/editor.h"
#include "plugin/liveeval.h"
#include "plugin/nppinterface.h"
#include "plugin/settings.h"
#include "plugin/state.h"
#include "plugin/udl.h"
#include "script/driver.h"
#include "script/flags.h"
#include "script/interpreter.h"
#include "script/screens.h"
#include "sdiff/sdiff.h"
#include "ui/msgwindow.h"
#include "log/pluginlog.h"
#include "script/runlog.h"

namespace zrt {

namespace {

using platform::MenuHandle;
using platform::WindowHandle;

constexpr const char* kCaptions[kOptionCount] = {
    "Plugin Log",      "Show Error Messages", "Show Debug Log",      "-",
    "Decimals",        "Show Commands",       "Supported Functions", "ReSet memory",
    "Eval to Tooltip", "Don't show Summary",  "Don't confirm Expr",  "Acknowledgments",
    "Install script highlighting", "Evaluate on =", "Selection in status bar"};

// A call tip of ours lives at most this long.
constexpr std::uint32_t kTipLifetimeMs = 9000;

std::string withoutAmpersands(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

void inform(const std::string& text) {
    platform::messageBox(text, "Quillet");
}

std::string handleText(const void* p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", p);
    return buf;
}

unsigned optionId(int offset) {
    return pluginState().optionsBaseId + static_cast<unsigned>(offset);
}

void setCheck(int offset, bool on) {
    MenuItemCheck(pluginState().optionsMenu, optionId(offset), on ? 1 : 0);
}

bool checked(int offset) {
    return MenuItemCheck(pluginState().optionsMenu, optionId(offset), -1) > 0;
}

// ---- The entries of the Options menu ----

// Returns false when the user cancelled (nothing changed).
bool togglePluginLog() {
    if (!checked(kOptPluginLog)) {
        const int answer = platform::messageBox(
            "Debug for 'Quillet' will be active the next time the Notepad++ is launched.\r\n"
            "A file with extension .dbg will be (over)written in the \\plugins\\Quillet "
            "folder.\r\n\r\n"
            "Do you also want to start debug now?",
            "Quillet", platform::Buttons::YesNoCancel, platform::Icon::Question);
        if (answer != platform::kIdYes && answer != platform::kIdNo) return false;
        // The log the question announces: the .dbg file, from the next start
        // in any case and from now on with Yes.
        if (answer == platform::kIdYes) {
            setPbDebug(2);
            StartPluginLog();
        } else {
            setPbDebug(0);
        }
        writeSetting(kKeyDebug, 2);
    } else {
        setPbDebug(0);
        inform("Debug disabled.");
        writeSetting(kKeyDebug, 0);
    }
    setCheck(kOptPluginLog, pbDebug() > 0);
    return true;
}

void toggleToolTip() {
    PluginState& s = pluginState();
    if (!checked(kOptToolTip)) {
        s.toolTipF = 1;
        inform("Evaluate to Tooltip enabled.");
        if (s.hideExprLineF) {
            s.hideExprLineF = false;
            s.nlnParam = " ";
            setCheck(kOptHideSummary, false);
            writeSetting(kKeySummary, 0);
        }
    } else {
        s.toolTipF = 0;
        cancelOwnCallTip();
        inform("Evaluate to Tooltip disabled.");
    }
    writeSetting(kKeyToolTip, s.toolTipF);
    setCheck(kOptToolTip, s.toolTipF != 0);
}

void toggleHideSummary() {
    PluginState& s = pluginState();
    if (!checked(kOptHideSummary)) {
        if (s.toolTipF) {
            s.hideExprLineF = false;
            s.nlnParam = " ";
            inform("'Hide Expr Line' incompatible with 'Eval To ToolTip'");
        } else {
            s.hideExprLineF = true;
            s.nlnParam = " /nln ";
            inform("Hide Expr Line Enabled");
        }
    } else {
        s.hideExprLineF = false;
        s.nlnParam = " ";
        inform("Hide Expr Line disabled.");
    }
    writeSetting(kKeySummary, s.hideExprLineF ? 1 : 0);
    setCheck(kOptHideSummary, s.hideExprLineF);
}

void toggleNoConfirm() {
    PluginState& s = pluginState();
    if (!checked(kOptNoConfirm)) {
        s.noConfirmF = true;
        inform("Expression confirmation Disabled");
    } else {
        s.noConfirmF = false;
        inform("Expression confirmation Enabled");
    }
    writeSetting(kKeyConfirm, s.noConfirmF ? 1 : 0);
    setCheck(kOptNoConfirm, s.noConfirmF);
}

void acknowledgments() {
    inform(
        "ACKNOWLEDGMENTS\r\n"
        "\r\nI thank these people for their support, testing and suggestions:\r\n"
        "\r\n    the users who reported problems and tested new versions"
        "\r\n    the people who suggested commands and functions"
        "\r\n    the authors of Notepad++ and Scintilla");
}

void resetMemory() {
    if (platform::messageBox("Are you sure to reset Quillet memory?", "Quillet",
                             platform::Buttons::YesNo,
                             platform::Icon::Question) == platform::kIdYes)
        ReSetZeRarove();
}

// Carries out an Options entry; false when the command is not one of ours.
bool optionCommand(unsigned id) {
    PluginState& s = pluginState();
    if (!s.optionsBuilt || id <= s.optionsBaseId || id > s.optionsBaseId + kOptionCount)
        return false;
    const int offset = static_cast<int>(id - s.optionsBaseId);
    if (offset == kOptSeparator) return false;
    const std::string caption =
        platform::menuString(platform::windowMenu(s.npp._nppHandle), id, false, 256);
    if (caption != kCaptions[offset - 1]) return false;

    switch (offset) {
        case kOptPluginLog:
            togglePluginLog();
            break;
        case kOptShowErrors:
            ShowText(false, true);
            break;
        case kOptShowDebugLog:
            ShowText(false, false);
            break;
        case kOptDecimals:
            decimalsDialog();
            break;
        case kOptShowCommands:
            if (batchFlags().CurDir.empty()) batchFlags().CurDir = pluginFolder();
            ShowMsgWindow(commandsScreen() + "\r\n", false);
            break;
        case kOptSupportedFunctions:
            ShowMsgWindow(diffOperAndFuncs() + "\r\n", false);
            break;
        case kOptResetMemory:
            resetMemory();
            break;
        case kOptToolTip:
            toggleToolTip();
            break;
        case kOptHideSummary:
            toggleHideSummary();
            break;
        case kOptNoConfirm:
            toggleNoConfirm();
            break;
        case kOptAcknowledgments:
            acknowledgments();
            break;
        case kOptInstallHighlighting:
            installScriptHighlighting();
            break;
        case kOptEvalOnEqual:
            setCheck(offset, toggleEvalOnEqual(checked(offset)));
            break;
        case kOptSelectionInStatus:
            setCheck(offset, toggleSelectionInStatus(checked(offset)));
            break;
        default:
            break;
    }
    if (offset <= kOptSupportedFunctions) {
        std::string params =
            ": Params: menu_id = " + std::to_string(id) + ", menu_caption = " + caption;
        if (offset == kOptPluginLog) params += ", pbDebug = " + std::to_string(pbDebug());
        pluginLog("WindowProc", params);
        flushSettings();
    }
    return true;
}

// WM_MENUSELECT: the first opening of the host's Plugins menu builds ours.
void menuSelect(std::uintptr_t wParam, std::intptr_t lParam) {
    PluginState& s = pluginState();
    if (s.optionsBuilt) return;
    const unsigned index = static_cast<unsigned>(wParam & 0xFFFF);
    const unsigned flags = static_cast<unsigned>((wParam >> 16) & 0xFFFF);
    const MenuHandle bar = platform::windowMenu(s.npp._nppHandle);
    if (!bar || reinterpret_cast<MenuHandle>(lParam) != bar || !(flags & npp::kMfPopup)) return;
    // The host names its Plugins menu by handle; a host that does not gets
    // recognised by the caption ("&Plugins" in the English interface).
    const auto told = reinterpret_cast<MenuHandle>(
        platform::sendMessage(s.npp._nppHandle, npp::NPPM_GETMENUHANDLE, npp::NPPPLUGINMENU, 0));
    const bool isPlugins =
        told ? platform::subMenu(bar, static_cast<int>(index)) == told
             : withoutAmpersands(platform::menuString(bar, index, true, 25)) == "Plugins";
    if (!isPlugins) return;
    s.pluginsIndex = static_cast<int>(index);
    AddMenus(s.pluginsIndex);
}

void notify(std::intptr_t lParam) {
    if (!lParam) return;
    const auto* n = reinterpret_cast<const npp::Notification*>(lParam);
    if (n->nmhdr.code == npp::SCN_SAVEPOINTLEFT || n->nmhdr.code == npp::SCN_SAVEPOINTREACHED) {
        savePointChanged(n->nmhdr.hwndFrom, n->nmhdr.code == npp::SCN_SAVEPOINTLEFT);
        return;
    }
    liveNotification(*n);
    const PluginState& s = pluginState();
    if (!s.toolTipF) return;
    // Either view: the notification names the one the mouse rests in.
    const WindowHandle view = n->nmhdr.hwndFrom;
    if (!view || (view != s.npp._scintillaMainHandle && view != s.npp._scintillaSecondHandle))
        return;
    if (n->nmhdr.code == npp::SCN_DWELLSTART) {
        dwellStart(view, n->position, n->x, n->y);
    } else if (n->nmhdr.code == npp::SCN_DWELLEND) {
        dwellEnd();
    }
}

// While a dwell is evaluated, the editor is read from the dwell's own view.
class DwellViewScope {
   public:
    explicit DwellViewScope(WindowHandle view) { pluginState().dwellView = view; }
    ~DwellViewScope() { pluginState().dwellView = nullptr; }
    DwellViewScope(const DwellViewScope&) = delete;
    DwellViewScope& operator=(const DwellViewScope&) = delete;
};

}  // namespace

unsigned HostMaxMenuId(WindowHandle window) {
    const MenuHandle bar = platform::windowMenu(window);
    const int count = platform::menuItemCount(bar);
    MenuHandle last = nullptr;
    for (int i = 0; i < count; ++i) {
        const MenuHandle sub = platform::subMenu(bar, i);
        if (!sub) break;
        last = sub;
    }
    unsigned maxId = 0;
    const int items = platform::menuItemCount(last);
    for (int i = 0; i < items; ++i) {
        const int id = platform::menuItemId(last, i);
        if (id > 0 && static_cast<unsigned>(id) > maxId) maxId = static_cast<unsigned>(id);
    }
    return maxId;
}

int MenuItemCheck(MenuHandle menu, unsigned id, int state) {
    if (state == -1) return platform::menuItemChecked(menu, id);
    const bool on = state > 0;
    return platform::setMenuItemChecked(menu, id, on) ? (on ? 1 : 0) : -1;
}

bool MenuItemSeparator(MenuHandle menu, unsigned id) {
    return platform::makeMenuSeparator(menu, id);
}

void AddMenus(int pluginsIndex) {
    PluginState& s = pluginState();
    if (s.optionsBuilt) return;
    s.optionsBuilt = true;
    const WindowHandle host = s.npp._nppHandle;
    pluginLog("AddMenus", ": START");
    s.optionsBaseId = HostMaxMenuId(host) + 100;
    pluginLog("AddMenus", ": LocalNppData_nppHandle = " + handleText(host));

    const MenuHandle bar = platform::windowMenu(host);
    pluginLog("AddMenus", ": hMenu = " + handleText(bar));
    pluginLog("AddMenus",
              ": hMenu_Name = " +
                  platform::menuString(bar, static_cast<unsigned>(pluginsIndex), true, 25));
    const MenuHandle plugins = platform::subMenu(bar, pluginsIndex);
    pluginLog("AddMenus", ": hPlugInMenu = " + handleText(plugins));
    const int count = platform::menuItemCount(plugins);
    for (int i = 0; i < count && !s.hMathMenu; ++i) {
        if (withoutAmpersands(platform::menuString(plugins, static_cast<unsigned>(i), true, 25)) ==
            "Quillet")
            s.hMathMenu = platform::subMenu(plugins, i);
    }
    pluginLog("AddMenus", ": hMathMenu = " + handleText(s.hMathMenu));

    s.optionsMenu = platform::createPopupMenu();
    for (int k = 1; k <= kOptionCount; ++k) {
        const unsigned id = optionId(k);
        platform::insertMenuItem(s.optionsMenu, k - 1, id, kCaptions[k - 1]);
        switch (k) {
            case kOptSeparator:
                MenuItemSeparator(s.optionsMenu, id);
                break;
            case kOptPluginLog:
                setCheck(k, pbDebug() > 0);
                break;
            case kOptToolTip:
                setCheck(k, s.toolTipF != 0);
                break;
            case kOptHideSummary:
                setCheck(k, s.hideExprLineF);
                break;
            case kOptNoConfirm:
                setCheck(k, s.noConfirmF);
                break;
            case kOptEvalOnEqual:
                setCheck(k, s.evalOnEqualF);
                break;
            case kOptSelectionInStatus:
                setCheck(k, s.selectionInStatusF);
                break;
            default:
                break;
        }
    }
    // Before the separator above "About Quillet", whatever the host's menu bar
    // looks like (the last two items of the submenu).
    const int items = platform::menuItemCount(s.hMathMenu);
    const bool inserted =
        s.hMathMenu && platform::insertMenuItem(s.hMathMenu, std::max(items - 2, 0),
                                                s.optionsBaseId, "Options", s.optionsMenu);
    pluginLog("AddMenus", std::string(": InsertMenuItem: retVal = ") + (inserted ? "1" : "0") +
                              " " + (inserted ? std::string() : platform::lastSystemErrorText()));
    pluginLog("AddMenus", ": ghOptionsSubMenu_Name = Options");
    pluginLog("AddMenus", ": _ScintillaMainHandle = " + handleText(s.npp._scintillaMainHandle));
    pluginLog("AddMenus", ": _NppHandle = " + handleText(host));
    pluginLog("AddMenus", ": END");
}

void dwellStart(WindowHandle view, std::intptr_t position, int x, int y) {
    PluginState& s = pluginState();
    if (s.evaluating || !view || x < 1 || y < 1) return;
    const std::intptr_t caret = platform::sendMessage(view, npp::SCI_GETCURRENTPOS, 0, 0);
    s.tipExpr.clear();
    const std::intptr_t distance = caret > position ? caret - position : position - caret;
    if (distance > static_cast<std::intptr_t>(s.selectionLength) + 1) return;
    {
        const DwellViewScope scope(view);
        const std::string selection = getSelection();
        const ScopedFlag evaluating(s.evaluating);
        s.tipEvaluated = false;
        if (selection.empty()) {
            zrtE_CurLineToWnd(true);
        } else {
            zrtE_SelTextToWnd(true);
        }
    }
    if (!s.tipEvaluated) return;
    if (eError() != ErrorCode::None) s.cmdIndex = 0;
    const int row = std::clamp(s.cmdIndex, 0, kCommandCount - 1);
    const std::string tip =
        TrimStr(s.tipExpr, "\r\n", false) + "\r\n" + s.lastResult + commandTable()[row].message;
    showCallTip(view, position, tip);
}

void dwellEnd() {
    cancelOwnCallTip();
}

std::intptr_t WindowProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                         std::intptr_t lParam) noexcept {
    // Nothing may leave the host's window procedure; after a failure the
    // message still reaches the host below.
    const bool handled = barrier("WindowProc", false, [&] {
        PluginState& s = pluginState();
        if (window != s.npp._nppHandle) return false;
        if (s.ownTipShown && platform::tickCount() - s.lastTipTick > kTipLifetimeMs)
            cancelOwnCallTip();
        switch (message) {
            case npp::kWmMenuSelect:
                menuSelect(wParam, lParam);
                break;
            case npp::kWmNotify:
                notify(lParam);
                break;
            case npp::kWmCommand:
                return lParam == 0 && optionCommand(static_cast<unsigned>(wParam & 0xFFFF));
            default:
                break;
        }
        return false;
    });
    if (handled) return 0;
    return platform::callPreviousProcedure(window, message, wParam, lParam);
}

void RemoveMenus() {
    PluginState& s = pluginState();
    if (s.npp._nppHandle) platform::restoreWindowProcedure(s.npp._nppHandle);
    if (s.dwellSaved) {
        platform::sendMessage(s.npp._scintillaMainHandle, npp::SCI_SETMOUSEDWELLTIME,
                              static_cast<std::uintptr_t>(s.savedDwellTime), 0);
        platform::sendMessage(s.npp._scintillaSecondHandle, npp::SCI_SETMOUSEDWELLTIME,
                              static_cast<std::uintptr_t>(s.savedSecondDwellTime), 0);
        s.dwellSaved = false;
    }
    pluginLog("RemoveMenus", "\r\nwpLog = \r\n");
}

}  // namespace zrt
