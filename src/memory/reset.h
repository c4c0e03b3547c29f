// The one reset of the memory layer: the variable and function store, the element order, the matrix
// store.
#pragma once

namespace zrt {

// Puts every state of this folder back to its load-time defaults. A new state
// struct in this folder gets its reset called from here.
void resetMemoryLayer();

}  // namespace zrt
