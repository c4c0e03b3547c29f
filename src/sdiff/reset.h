// The one reset of the sdiff layer: the derivative reader and its tree.
#pragma once

namespace zrt {

// Puts every state of this folder back to its load-time defaults. A new state
// struct in this folder gets its reset called from here.
void resetSdiffLayer();

}  // namespace zrt
