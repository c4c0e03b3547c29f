// The one reset of the base layer: the error state and log, the number texts.
#pragma once

namespace zrt {

// Puts every state of this folder back to its load-time defaults. A new state
// struct in this folder gets its reset called from here.
void resetBaseLayer();

}  // namespace zrt
