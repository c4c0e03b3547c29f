// The one reset of the ui layer: the plots and their windows.
#pragma once

namespace zrt {

// Puts every state of this folder back to its load-time defaults. A new state
// struct in this folder gets its reset called from here.
void resetUiLayer();

}  // namespace zrt
