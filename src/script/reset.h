// The one reset of the script layer: batch parameters, the batch run and its result, the
// interpreter, the plot and calculus commands.
#pragma once

namespace zrt {

// Puts every state of this folder back to its load-time defaults. A new state
// struct in this folder gets its reset called from here.
void resetScriptLayer();

}  // namespace zrt
