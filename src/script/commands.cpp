#include "script/commands.h"

#include "base/numtext.h"
#include "script/commands_calculus.h"
#include "script/commands_plot.h"
#include "script/commands_sdiff.h"

namespace zrt {

namespace {

struct NamedCommand {
    const char* name;
    CommandHandler run;
};

// Each family adds its commands in its own block.
const NamedCommand kCommands[] = {
    // calculus
    {"integrate", runIntegrate},
    {"integratef", runIntegrate},
    {"varpolyn", runVarPolyn},
    {"derivate", runDerivate},
    {"derivatef", runDerivate},
    {"solvepolyn", runSolvePolyn},

    // differentiation
    {"sdiff", sDiffCommand},
    {"sdifff", sDiffCommand},

    // plot
    {"plot", runPlot},

    {nullptr, nullptr},
};

}  // namespace

CommandHandler findCommand(std::string_view name) {
    for (const NamedCommand* c = kCommands; c->name; ++c)
        if (name == c->name) return c->run;
    return nullptr;
}

std::vector<std::string_view> commandNames() {
    std::vector<std::string_view> names;
    for (const NamedCommand* c = kCommands; c->name; ++c) names.push_back(c->name);
    return names;
}

const std::string& blankFileNote() {
    static const std::string note(20, ' ');
    return note;
}

std::string fileArgument(const std::string& text) {
    return std::string(trimBlanks(TrimStr(text, "\r\n", false)));
}

CommandOutput::FileForm CommandOutput::fileForm(const std::string& arg) {
    FileForm f;
    std::size_t b = arg.find_first_not_of(' ');
    std::size_t e = b == std::string::npos ? b : arg.find(' ', b);
    if (b != std::string::npos) f.input = arg.substr(b, e == std::string::npos ? e : e - b);
    b = e == std::string::npos ? e : arg.find_first_not_of(' ', e);
    e = b == std::string::npos ? b : arg.find(' ', b);
    if (b != std::string::npos) f.output = arg.substr(b, e == std::string::npos ? e : e - b);
    f.note = f.output.empty() ? blankFileNote() : "=>(" + arg + ")";
    return f;
}

}  // namespace zrt
