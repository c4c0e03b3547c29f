// "Install script highlighting": Quillet.udl.xml into the userDefineLangs
// folder of the user's Notepad++ settings, which Notepad++ reads at start.
#include <cstdio>

#include "base/text16.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "plugin/nppinterface.h"
#include "plugin/state.h"
#include "plugin/udl.h"
#include "log/pluginlog.h"

namespace zrt {

namespace {

// A folder the host names: the length first, then the text.
std::string askHostFolder(unsigned message) {
    const platform::WindowHandle host = pluginState().npp._nppHandle;
    if (!host) return {};
    const std::intptr_t length = platform::sendMessage(host, message, 0, 0);
    if (length <= 0 || length > 32767) return {};
    std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
    platform::sendMessage(host, message, static_cast<std::uintptr_t>(length) + 1,
                          reinterpret_cast<std::intptr_t>(&buffer[0]));
    return fromUtf16(buffer.c_str());
}

std::string withoutFinalSeparators(std::string folder) {
    while (folder.size() > 1 && isSeparator(folder.back())) folder.pop_back();
    return folder;
}

// Today's Notepad++ names its settings folder; an older one names only the
// plug-in configuration folder, "<settings>\plugins\Config".
std::string settingsFolder() {
    const std::string settings = askHostFolder(npp::NPPM_GETNPPSETTINGSDIRPATH);
    if (!settings.empty()) return settings;
    const std::string config = withoutFinalSeparators(askHostFolder(npp::NPPM_GETPLUGINSCONFIGDIR));
    if (config.empty()) return {};
    const std::string plugins = withoutFinalSeparators(folderOf(config));
    return plugins.empty() ? std::string() : folderOf(plugins);
}

bool writeWhole(const std::string& path, const std::string& text) {
    std::FILE* f = platform::openFile(path, "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

}  // namespace

void installScriptHighlighting() {
    const std::string settings = settingsFolder();
    if (settings.empty()) {
        platform::messageBox(
            "Notepad++ did not tell its settings folder: "
            "script highlighting was not installed.",
            "Quillet", platform::Buttons::Ok, platform::Icon::Error);
        return;
    }
    const std::string folder = withFinalSeparator(settings) + "userDefineLangs";
    const std::string target = withFinalSeparator(folder) + kUdlFileName;
    if (isRegularFile(target) &&
        platform::messageBox(target + "\r\nexists already. Replace it?", "Quillet",
                             platform::Buttons::YesNo, platform::Icon::Question,
                             platform::kIdNo) != platform::kIdYes)
        return;
    if (!makeFolders(folder) || !writeWhole(target, udlText())) {
        platform::messageBox("Script highlighting could not be written to\r\n" + target, "Quillet",
                             platform::Buttons::Ok, platform::Icon::Error);
        return;
    }
    pluginLog("installScriptHighlighting", ": written to " + target);
    platform::messageBox("Script highlighting installed in\r\n" + target +
                             "\r\n\r\nNotepad++ shows it after a restart: .zrt files are "
                             "coloured, and Language > Quillet colours any document.",
                         "Quillet");
}

}  // namespace zrt
