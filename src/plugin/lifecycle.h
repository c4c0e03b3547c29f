// Loading and unloading of the plug-in, and the Notepad++ plug-in interface.
#pragma once

#include <cstdint>

#include "zerith.h"

namespace zrt {

// Reads the settings, fills the menu items and sets the library defaults.
void AttachProcess();
// Puts the host's window procedure and dwell time back (RemoveMenus).
void DetachProcess();

// One menu item: caption, command, item number, initial check state and the
// four-character shortcut text ("1002" Ctrl+2, "101~" Ctrl+Shift+Enter, ...).
void pinSetMenuItem(zrt_FuncItem& item, zrt_PluginCommand command, const char* caption,
                    int itemNumber, bool init2Check, const char* shortcutText);

// Saves and raises the main view's dwell time and subclasses the host window.
void SubclassHostWindow();

// The Notepad++ interface.
void pluginSetInfo(const zrt_NppData& data);
const zrt_char* pluginName();
zrt_FuncItem* pluginFuncsArray(int32_t* count);
std::intptr_t pluginMessageProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// Library load hooks of other host programs.
int zrtAttachProcess();
int zrtAttachThread();
int zrtDetachThread();
int zrtDetachProcess();

}  // namespace zrt
