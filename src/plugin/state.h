// The plug-in's globals: everything the Notepad++ side keeps between calls,
// in one record that lives as long as the library.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "platform/platform.h"
#include "zerith.h"

namespace zrt {

constexpr int kMenuItemCount = 11;

struct PluginState {
    // Handles from setInfo.
    zrt_NppData npp{};
    // The menu items the host reads (and writes its command ids into), with
    // their shortcuts: static storage for the life of the library.
    zrt_FuncItem funcItems[kMenuItemCount]{};
    zrt_ShortcutKey shortcuts[kMenuItemCount]{};

    // 0 loaded, 1 the host asked for the name, 2 the subclass is installed.
    int menuState = 0;
    // 0 before AttachProcess, 2 after it (zrtAttachProcess then leaves the defaults alone).
    int startupState = 0;
    int threadMarker = 0;

    // Options (the settings file).
    int toolTipF = 0;
    bool hideExprLineF = false;
    bool bareResultsF = false;
    bool noConfirmF = false;
    bool evalOnEqualF = false;        // "=" then Enter inserts the line's value
    bool selectionInStatusF = false;  // the selection's value in the status bar
    std::string nlnParam = " ";
    std::string ntParam = " ";
    std::string currentDir;  // at load, ending in a separator
    std::string iniPath;
    bool settingsInConfigDir = false;

    // The subclass of the host's main window.
    std::intptr_t savedDwellTime = 0;        // main view
    std::intptr_t savedSecondDwellTime = 0;  // second view
    bool dwellSaved = false;

    // The Options menu.
    platform::MenuHandle hMathMenu = nullptr;
    platform::MenuHandle optionsMenu = nullptr;
    unsigned optionsBaseId = 0;
    int pluginsIndex = 0;
    bool optionsBuilt = false;

    // Tool-tip evaluation.
    std::uint32_t lastTipTick = 0;
    bool ownTipShown = false;
    platform::WindowHandle tipView = nullptr;    // the view our call tip shows in
    platform::WindowHandle dwellView = nullptr;  // while a dwell is evaluated: its view
    std::string tipExpr;
    int cmdIndex = 0;
    bool evaluating = false;    // a dwell evaluation runs (ignore nested dwells)
    bool tipEvaluated = false;  // the last tool-tip command ran the driver
    std::string lastResult;     // the driver's result text, cleaned

    // Results as you type.
    bool liveBusy = false;       // an "=" line or a status-bar look is being evaluated
    bool statusShown = false;    // the status bar's first field holds a value of ours

    // Editor access.
    platform::WindowHandle currentView = nullptr;
    std::string currentSelection;
    int selectionLength = 1;
    std::string currentFileName;
    // Documents whose view last reported leaving its save point (unsaved
    // changes), by path as samePath compares them.
    std::set<std::string> unsavedDocuments;
};

PluginState& pluginState();

void resetPlugin();

}  // namespace zrt
