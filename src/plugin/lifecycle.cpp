#include "plugin/lifecycle.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/text16.h"
#include "memory/elemorder.h"
#include "platform/platform.h"
#include "plugin/commands.h"
#include "plugin/darkmode.h"
#include "plugin/menus.h"
#include "plugin/nppinterface.h"
#include "plugin/settings.h"
#include "plugin/state.h"
#include "ui/plot.h"
#include "log/pluginlog.h"
#include "log/trace.h"

namespace zrt {

PluginState& pluginState() {
    static PluginState state;
    return state;
}

void resetPlugin() {
    pluginState() = PluginState{};
}

namespace {

std::string pointerText(const void* p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", p);
    return buf;
}

}  // namespace

void pinSetMenuItem(zrt_FuncItem& item, zrt_PluginCommand command, const char* caption,
                    int itemNumber, bool init2Check, const char* shortcutText) {
    PluginState& s = pluginState();
    std::memset(&item, 0, sizeof item);
    const std::u16string name = toUtf16(caption ? caption : "");
    const std::size_t n = std::min<std::size_t>(name.size(), 63);
    for (std::size_t i = 0; i < n; ++i) item._itemName[i] = static_cast<zrt_char>(name[i]);
    item._pFunc = command;
    item._cmdID = itemNumber;
    item._init2Check = init2Check ? 1 : 0;

    const std::string keys = shortcutText ? shortcutText : "";
    if (keys.size() == 4 && itemNumber >= 1 && itemNumber <= kMenuItemCount) {
        zrt_ShortcutKey& key = s.shortcuts[itemNumber - 1];
        key._isCtrl = keys[0] == '1';
        key._isAlt = keys[1] == '1';
        key._isShift = keys[2] == '1';
        key._key = keys[3] == '~' ? 13 : keys[3] == '^' ? 43 : static_cast<zrt_byte>(keys[3]);
        item._pShKey = &key;
    }
    pluginLog("pinSetMenuItem", ": sk len = " + std::to_string(keys.size()) +
                                    ", pShKey = " + pointerText(item._pShKey) +
                                    ", caption = " + std::string(caption ? caption : ""));
}

void SubclassHostWindow() {
    PluginState& s = pluginState();
    if (!s.npp._nppHandle) return;
    s.savedDwellTime =
        platform::sendMessage(s.npp._scintillaMainHandle, npp::SCI_GETMOUSEDWELLTIME, 0, 0);
    s.savedSecondDwellTime =
        platform::sendMessage(s.npp._scintillaSecondHandle, npp::SCI_GETMOUSEDWELLTIME, 0, 0);
    s.dwellSaved = true;
    // Dwell notifications (tool-tip evaluation) after one second of rest, in
    // whichever view the mouse rests.
    platform::sendMessage(s.npp._scintillaMainHandle, npp::SCI_SETMOUSEDWELLTIME, 1000, 0);
    platform::sendMessage(s.npp._scintillaSecondHandle, npp::SCI_SETMOUSEDWELLTIME, 1000, 0);
    const std::intptr_t old = platform::subclassWindow(s.npp._nppHandle, &WindowProc);
    pluginLog("SubclassHostWindow", ": SetWindowLong: pOldProc = " + std::to_string(old) +
                                        ", saved dwell time = " + std::to_string(s.savedDwellTime));
}

void AttachProcess() {
    PluginState& s = pluginState();
    aElemOrderSet(-1);
    SetDebugF(1);
    clearDebugLog();

    std::error_code ec;
    setPluginFiles(std::filesystem::current_path(ec).u8string());
    readSettings();
    pluginLog("AttachProcess", ": Attach To Process: START");

    zrt_FuncItem* items = s.funcItems;
    pinSetMenuItem(items[0], &zrtE_CurFile, "Eval CurFile To File", 1, false, "");
    pinSetMenuItem(items[1], &zrtE_CurLineToFile, "Eval CurLine To File", 2, false, "");
    pinSetMenuItem(items[2], nullptr, "", 3, false, "");
    pinSetMenuItem(items[3], &zrtE_CurLineToWndMnu, "Eval CurLine To Wnd", 4, false, "1002");
    pinSetMenuItem(items[4], &zrtE_SelTextToWndMnu, "Eval SelText To Wnd", 5, false, "1003");
    pinSetMenuItem(items[5], &zrtE_Expr, "Eval Expression To Wnd", 6, false, "101~");
    pinSetMenuItem(items[6], nullptr, "", 7, false, "");
    pinSetMenuItem(items[7], &zrtE_ShowMem, "Show Memory", 8, false, "110M");
    pinSetMenuItem(items[8], &zrtE_InsertFileName, "Insert filename", 9, false, "110O");
    pinSetMenuItem(items[9], nullptr, "", 10, false, "");
    pinSetMenuItem(items[10], &zrtE_About, "About Quillet", 11, false, "");

    s.startupState = 2;
    zrtAttachProcess();
    pluginLog("AttachProcess", ": Attach To Process: End");
    pluginLogEnd("AttachProcess");
}

void DetachProcess() {
    pluginLog("DetachProcess", ": Detaching From Process START: gpHnd = 0");
    RemoveMenus();
    // Plot windows run code of this library: none may outlive it.
    closePlotWindows();
    pluginLog("DetachProcess", ": Detaching From Process End: gpHnd = 0");
}

void pluginSetInfo(const zrt_NppData& data) {
    PluginState& s = pluginState();
    s.npp = data;
    pluginLog("setInfo",
              ": _nppHandle = " + pointerText(data._nppHandle) +
                  ", _scintillaMainHandle = " + pointerText(data._scintillaMainHandle) +
                  ", _scintillaSecondHandle = " + pointerText(data._scintillaSecondHandle));
    chooseSettingsLocation();
    followHostDarkMode();
}

const zrt_char* pluginName() {
    static const zrt_char kName[] = {'Q', 'u', 'i', 'l', 'l', 'e', 't', 0};
    if (pluginState().menuState == 0) pluginState().menuState = 1;
    return kName;
}

zrt_FuncItem* pluginFuncsArray(int32_t* count) {
    if (count) *count = kMenuItemCount;
    return pluginState().funcItems;
}

std::intptr_t pluginMessageProc(unsigned, std::uintptr_t, std::intptr_t) {
    PluginState& s = pluginState();
    if (s.menuState == 1) {
        SubclassHostWindow();
        s.menuState = 2;
    }
    return 0;
}

int zrtAttachProcess() {
    const int state = pluginState().startupState;
    if (state == 1 || state == 2) return 0;
    aElemOrderSet(-1);
    SetDebugF(1);
    clearDebugLog();
    return 0;
}

int zrtAttachThread() {
    pluginState().threadMarker = -1;
    return 0;
}

int zrtDetachThread() {
    pluginState().threadMarker = 0;
    return 0;
}

int zrtDetachProcess() {
    return 0;
}

}  // namespace zrt
