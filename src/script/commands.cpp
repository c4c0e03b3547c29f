#include "script/commands.h"

#include "base/numtext.h"
#include "base/strings.h"
#include "script/commands_calculus.h"
#include "script/commands_expr.h"
#include "script/commands_memory.h"
#include "script/commands_plot.h"
#include "script/commands_run.h"
#include "script/commands_sdiff.h"

namespace zrt {

namespace {

struct NamedCommand {
    const char* word;  // as the highlighting file lists it; matched in any case
    CommandHandler run;
};

// Every command of scripts, each family in its own block. A line names a
// command by its whole word, in any case: no abbreviations.
const NamedCommand kCommands[] = {
    // expressions
    {"Expr", runExpr},
    {"Hex", runExpr},
    {"Bin", runExpr},
    {"ExprF", runExprF},
    {"StoExpr", runStoExpr},

    // memory
    {"Var", runVar},
    {"Funct", runFunct},
    {"FunctF", runFunct},
    {"Matr", runMatr},
    {"Vect", runMatr},
    {"MatrF", runMatr},
    {"VectF", runMatr},
    {"DimX", runDimX},
    {"Show", runShow},

    // the run's settings and information
    {"aElemOrderSet", runElemOrderSet},
    {"aElemOrderEx", runElemOrderEx},
    {"Debug", runDebug},
    {"ErrorMsgs", runErrorMsgs},
    {"Pause", runPause},
    {"aAbout", runAbout},

    // calculus
    {"Integrate", runIntegrate},
    {"IntegrateF", runIntegrate},
    {"VarPolyn", runVarPolyn},
    {"Derivate", runDerivate},
    {"DerivateF", runDerivate},
    {"solvepolyn", runSolvePolyn},

    // differentiation
    {"sDiff", sDiffCommand},
    {"sDiffF", sDiffCommand},

    // plot
    {"Plot", runPlot},

    {nullptr, nullptr},
};

}  // namespace

CommandHandler findCommand(std::string_view name) {
    for (const NamedCommand* c = kCommands; c->word; ++c)
        if (name == lowerAscii(c->word)) return c->run;
    return nullptr;
}

std::vector<std::string_view> commandNames() {
    std::vector<std::string_view> names;
    for (const NamedCommand* c = kCommands; c->word; ++c) names.push_back(c->word);
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
