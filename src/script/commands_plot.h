// The Plot command of scripts.
#pragma once

#include "script/command.h"

namespace zrt {

// Plot = expression ; from ; variable ; to ; steps [; point-table file]
void runPlot(const CommandLine& cmd, CommandOutput& out);

// Start of a script run: the windows of the previous run close and the plot
// numbers start again from 1.
void startPlotRun();

void resetPlotCommand();

}  // namespace zrt
