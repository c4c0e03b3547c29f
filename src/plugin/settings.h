// The settings file "plugins\Quillet\Quillet.INI": seven options read at load
// and written one key at a time when the user changes one.
#pragma once

#include <string>
#include <string_view>

namespace zrt {

// Keys of section "Quillet".
constexpr const char* kKeyDebug = "Debug";
constexpr const char* kKeyToolTip = "Eval To ToolTip";
constexpr const char* kKeyDecimals = "Decimals";
constexpr const char* kKeySummary = "Don't show Summary";
constexpr const char* kKeyConfirm = "Don't confirm Expr";
constexpr const char* kKeyEvalOnEqual = "Eval On Equal";
constexpr const char* kKeySelectionInStatus = "Selection In Status Bar";

// The plug-in's files below `currentDir` (the folder the host runs in, ending
// in a separator): the settings file and the plug-in log.
void setPluginFiles(const std::string& currentDir);

// Reads the seven keys in their order and sets the options from them.
void readSettings();

// Writes one key (the value as decimal text); false when the file could not be written.
bool writeSetting(std::string_view key, int value);
void flushSettings();

// Once the host's window is known: a program folder the user cannot write
// loses every change, so the settings and the log move to the host's plug-in
// configuration folder, whose settings file (when there is one) is read.
void chooseSettingsLocation();

// The integer a settings value holds: leading blanks, sign and digits; any
// other text reads as 0.
int settingNumber(std::string_view text);

}  // namespace zrt
