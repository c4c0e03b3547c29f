#include "ui/about.h"

#include "platform/platform.h"
#include "ui/msgwindow.h"
#include "log/version.h"
#include "zrt_version.h"

namespace zrt {

std::string PluginInfoText(bool asComment, bool suppress) {
    if (suppress) return {};
    const std::string rule(75, '-');
    const char* const lines[] = {
        "Quillet.dll - a math plugin for Notepad++",
        "Version: " ZRT_VERSION_TEXT " - Built: 49. (Unicode version)",
        "Contact: the Quillet project - send questions and reports to its issue tracker",
        rule.c_str(),
        rule.c_str(),
        "Thanks to everyone who tested Quillet and suggested improvements.",
        "Quillet is a evaluator of math formulas and commands for Notepad++",
        "It gives to Npp powerfull math capabilities to calculate and plot ",
        "expressions, functions, polynomials, integrals, matrices, derivatives.",
        "It incorporates Zerith.dll, a math library for",
        "numerical calculations, implementing 40+ math and matrix functions.",
        "",
        "Select a formula or a script and use the Plugins > Quillet menu;",
        "the commands help lists every script command.",
        rule.c_str(),
    };
    std::string text;
    for (const char* line : lines) {
        if (asComment) text += '\'';
        text += line;
        text += "\r\n";
    }
    return text;
}

int aboutDisplay() {
    ShowMsgWindow(PluginInfoText(false) + "\r\n", false);
    return 0;
}

bool DisplayVerInfo(std::string_view fileName, std::string& fileVersion,
                    std::string& productVersion) {
    const std::string file = fileName.empty() ? platform::modulePath() : std::string(fileName);
    unsigned error = 0;
    std::string fv, pv;
    if (!platform::fileVersion(file, fv, pv, error)) {
        platform::messageBox(std::to_string(error), "");
        return false;
    }
    fileVersion = fv;
    productVersion = pv;
    return true;
}

void aAbout() {
    const std::string file = platform::modulePath();
    platform::messageBox("Library: Zerith.dll"
                         "\r\nVersion: " + libraryFileVersion() +
                             "\r\nFileTime: " + platform::fileTimeText(file) +
                             "\r\nScope: a DLL library for numerical calculations (methods)",
                         "About Zerith.dll - ");
}

}  // namespace zrt
