// The interactive calculator: "quillet" with no arguments on a terminal.
#pragma once

namespace quillet {

// Reads lines until ":quit" or the end of input; each runs as one script line
// with the memory kept across lines. Returns the exit status (0).
int runSession();

}  // namespace quillet
