#include "plugin/settings.h"

#include <filesystem>
#include <limits>

#include "base/limits.h"
#include "base/text16.h"
#include "base/numtext.h"
#include "platform/platform.h"
#include "plugin/nppinterface.h"
#include "plugin/state.h"
#include "script/flags.h"
#include "platform/paths.h"
#include "log/pluginlog.h"
#include "script/runlog.h"

namespace zrt {

namespace {

constexpr const char* kSection = "Quillet";
// Each value is read into a buffer of ten characters.
constexpr int kValueChars = 10;

std::string readKey(const char* key, const char* defaultText) {
    return platform::profileString(kSection, key, defaultText, pluginState().iniPath, kValueChars);
}

}  // namespace

int settingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long v = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        if (v < std::numeric_limits<int>::max()) v = v * 10 + (text[i] - '0');
    }
    if (!digits) return 0;
    if (v > std::numeric_limits<int>::max()) v = std::numeric_limits<int>::max();
    return static_cast<int>(negative ? -v : v);
}

void setPluginFiles(const std::string& currentDir) {
    PluginState& s = pluginState();
    const std::string sep(1, kSeparator);
    s.currentDir = withFinalSeparator(currentDir);
    s.iniPath = s.currentDir + "plugins" + sep + "Quillet" + sep + "Quillet.INI";
    s.settingsInConfigDir = false;
    setDbgPath(s.currentDir + "plugins" + sep + "Quillet" + sep + "Quillet.dbg");
}

void readSettings() {
    PluginState& s = pluginState();

    // 1 sends the log to the debugger output; 2 (what the Plugin Log entry
    // stores) to the log file it announces; 3 to message boxes.
    const int debug = settingNumber(readKey(kKeyDebug, ""));
    if (debug > 0) {
        setPbDebug(debug <= 3 ? debug : 1);
        StartPluginLog();
    } else {
        setPbDebug(0);
    }

    s.toolTipF = settingNumber(readKey(kKeyToolTip, "")) > 0 ? 1 : 0;

    const std::string decimals = readKey(kKeyDecimals, "4");
    int d = trimBlanks(decimals).empty() ? 4 : settingNumber(decimals);
    if (d < 0) d = 0;
    if (d > kMaxDecimals) d = kMaxDecimals;
    batchFlags().decimals = d;

    const bool hide = settingNumber(readKey(kKeySummary, "")) > 0;
    s.hideExprLineF = hide;
    s.bareResultsF = hide;
    s.nlnParam = hide ? " /nln " : " ";
    s.ntParam = hide ? " /nt " : " ";

    s.noConfirmF = settingNumber(readKey(kKeyConfirm, "")) > 0;
    s.evalOnEqualF = settingNumber(readKey(kKeyEvalOnEqual, "")) > 0;
    s.selectionInStatusF = settingNumber(readKey(kKeySelectionInStatus, "")) > 0;
}

bool writeSetting(std::string_view key, int value) {
    return platform::writeProfileString(kSection, key, std::to_string(value),
                                        pluginState().iniPath);
}

void flushSettings() {
    platform::flushProfile(pluginState().iniPath);
}

void chooseSettingsLocation() {
    PluginState& s = pluginState();
    if (s.settingsInConfigDir || !s.npp._nppHandle || platform::canWriteFile(s.iniPath)) return;

    // The length first, then the path (room for the terminating zero).
    const std::intptr_t length =
        platform::sendMessage(s.npp._nppHandle, npp::NPPM_GETPLUGINSCONFIGDIR, 0, 0);
    if (length <= 0 || length > 32767) return;
    std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
    platform::sendMessage(s.npp._nppHandle, npp::NPPM_GETPLUGINSCONFIGDIR,
                          static_cast<std::uintptr_t>(length) + 1,
                          reinterpret_cast<std::intptr_t>(&buffer[0]));
    const std::string configDir = fromUtf16(buffer.c_str());
    if (configDir.empty()) return;

    const std::string sep(1, kSeparator);
    const std::string folder = withFinalSeparator(configDir) + "Quillet";
    std::error_code ec;
    std::filesystem::create_directories(osPath(folder), ec);
    const std::string ini = folder + sep + "Quillet.INI";
    if (!platform::canWriteFile(ini)) return;

    pluginLog("chooseSettingsLocation", ": settings file moves to " + ini);
    s.iniPath = ini;
    s.settingsInConfigDir = true;
    setDbgPath(folder + sep + "Quillet.dbg");
    if (isRegularFile(ini)) {
        readSettings();
    } else if (pbDebug() > 0) {
        StartPluginLog();
    }
}

}  // namespace zrt
