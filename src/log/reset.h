// The one reset of the log layer: the trace and the plug-in log.
#pragma once

namespace zrt {

// Puts every state of this folder back to its load-time defaults. A new state
// struct in this folder gets its reset called from here.
void resetLogLayer();

}  // namespace zrt
