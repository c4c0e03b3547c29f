#include "script/commands_plot.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/letters.h"
#include "base/numtext.h"
#include "evaluator/pointformula.h"
#include "evaluator/preparedformula.h"
#include "script/flags.h"
#include "ui/plot.h"
#include "log/trace.h"

namespace zrt {

namespace {

struct PlotCommandState {
    int plotCounter = 0;
};

PlotCommandState& plotCommandState() {
    static PlotCommandState state;
    return state;
}

// The expression cut at every whole-word occurrence of the variable (compared
// without case): a point's text goes between the pieces. Whole words only: the
// x of exp(x) is a variable, the x of "exp" is not.
std::vector<std::string> cutAtVariable(const std::string& expression, const std::string& variable) {
    std::vector<std::string> pieces;
    const std::string lower = lowerAscii(expression);
    std::size_t from = 0;
    for (std::size_t at = lower.find(variable); at != std::string::npos;
         at = lower.find(variable, at + 1)) {
        const std::size_t end = at + variable.size();
        const bool starts = !nameCharBefore(lower, at);
        const bool ends = nameCharLength(lower, end) == 0;
        if (!starts || !ends || at < from) continue;
        pieces.push_back(expression.substr(from, at - from));
        from = end;
    }
    pieces.push_back(expression.substr(from));
    return pieces;
}

// The expression at x: the point's text between the pieces, into `text`.
void textAt(const std::vector<std::string>& pieces, double x, std::string& text) {
    text = pieces[0];
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        appendPointText(text, x);
        text += pieces[i];
    }
}

PlotEval evaluatorOf(const PlotRequest& r, std::vector<std::string> pieces) {
    // The prepared form where it serves; else each point's text, built in a
    // reused buffer.
    struct Points {
        std::string expression, variable;
        std::vector<std::string> pieces;
        std::string text;
        std::unique_ptr<PointEvaluator> evaluator;
    };
    auto p = std::make_shared<Points>();
    p->expression = r.expression;
    p->variable = r.variable;
    p->pieces = std::move(pieces);
    p->evaluator = std::make_unique<PointEvaluator>(p->expression, p->variable, SlotKind::Word,
                                                    p->pieces.size() - 1);
    return [p](double x, double& y) {
        double value = 0;
        if (!p->evaluator->preparedAt(x, &value)) {
            textAt(p->pieces, x, p->text);
            const int code = e_eval(p->text, &value, 0);
            p->evaluator->afterText(code);
            if (code != 0 || eError() != ErrorCode::None) return false;
        }
        y = value;
        return true;
    };
}

// A plot's points are the expression with the point's text in place of the
// variable: refused (e_error 13) when those texts could make it longer than a
// prepared formula may be, or all points together would read more than
// kMaxEvaluatedText characters.
bool plotFits(const PlotRequest& r, const std::vector<std::string>& pieces) {
    const std::size_t occurrences = pieces.size() - 1;
    if (!pointTextsFit("Plot", r.expression.size() + std::uint64_t{occurrences} * kMaxPointText,
                       occurrences, r.variable))
        return false;
    std::string first;
    textAt(pieces, r.xFrom, first);
    return withinEvaluationBudget("Plot", evaluationWork(std::uint64_t(r.steps) + 1, first));
}

}  // namespace

void runPlot(const CommandLine& cmd, CommandOutput& out) {
    const std::string echoPart = ": Plot = " + cmd.arg + ":\r\n";
    const int number = ++plotCommandState().plotCounter;

    // Neither the trace nor error boxes interrupt a plot: its points may fail by
    // the thousand (a gap in the curve is no error).
    const int traceMode = SetDebugF(0);
    const int messages = messageSwitch();
    ShowMsgs(0);
    PlotEval eval = [](double, double&) { return false; };
    int plotted = 0;
    {
        PlotRequest request;
        std::string problem;
        if (parsePlotParams(cmd.arg, request, problem)) {
            // The expression is cut once, for the check and for the points.
            std::vector<std::string> pieces = cutAtVariable(request.expression, request.variable);
            if (plotFits(request, pieces)) {
                eval = evaluatorOf(request, std::move(pieces));
                plotted = plotRequest(request, number, eval);
            }
        } else {
            plotted = aPlot(cmd.arg, number, eval);  // reports the invalid field
        }
    }
    ShowMsgs(messages);
    SetDebugF(traceMode);

    if (!plotted) {
        // The reason is the first line of the last error report.
        const std::string& info = lastErrorInfo();
        out.failure(cmd, echoPart,
                    eError() == ErrorCode::None ? ErrorCode::InvalidArgument : eError(),
                    info.substr(0, info.find("\r\n")));
        return;
    }
    setEError(ErrorCode::None);
    std::string note = plotMessage().empty() ? std::string() : " - " + plotMessage();
    if (!out.savePlots()) {
        out.success(cmd, echoPart, out.resultPrefix(), "aPlot #" + std::to_string(number) + note);
        return;
    }
    const std::string& folder = batchFlags().splPath;
    const std::string file =
        folder.empty() || folder == "0" ? savePlot(number, "0") : savePlotInFolder(number, folder);
    if (file.empty()) {
        failReplacing(ErrorCode::InvalidArgument, "Plot",
                      "The picture of aPlot #" + std::to_string(number) + " was not saved");
        out.failure(cmd, echoPart, ErrorCode::InvalidArgument);
        return;
    }
    out.success(cmd, echoPart, " FileName => ", file + note);
}

PlotEval plotFormula(const std::string& expression, const std::string& variable) {
    PlotRequest request;
    request.expression = expression;
    request.variable = variable;
    return evaluatorOf(request, cutAtVariable(expression, variable));
}

void startPlotRun() {
    closePlotWindows();
    plotCommandState().plotCounter = 0;
}

void resetPlotCommand() {
    plotCommandState() = PlotCommandState{};
}

}  // namespace zrt
