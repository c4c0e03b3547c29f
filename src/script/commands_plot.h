// The Plot command of scripts.
#pragma once

#include <string>

#include "script/command.h"
#include "ui/plot.h"

namespace zrt {

// Plot = expression ; from ; variable ; to ; steps [; point-table file]
void runPlot(const CommandLine& cmd, CommandOutput& out);

// The evaluation of a Plot line's formula at x: the variable's whole-word
// occurrences replaced by the point's text, then the evaluator.
PlotEval plotFormula(const std::string& expression, const std::string& variable);

// Start of a script run: the windows of the previous run close and the plot
// numbers start again from 1.
void startPlotRun();

void resetPlotCommand();

}  // namespace zrt
