#include "ui/about.h"

namespace zrt {

std::string PluginInfoText(bool asComment, bool suppress) {
    if (suppress) return {};
    const std::string rule(75, '-');
    const char* const lines[] = {
        "Quillet.dll - a math plugin for Notepad++",
        "Version: 0.0.4.7 - Built: 49. (Unicode version)",
        "Home: the Quillet project - send questions and reports to its issue tracker",
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

}  // namespace zrt
