// The library's load-time initialisation, in one place.
#pragma once

namespace zrt {

// Puts every subsystem into its load-time state (message tables, empty stores,
// library defaults). Runs when the library is loaded.
void libraryInit();

// The library entry: process attach runs the load-time initialisation of every
// subsystem and AttachProcess; process detach runs DetachProcess.
void processAttach() noexcept;
void processDetach() noexcept;

// What tests call to get a fresh library: the same load-time initialisation.
inline void resetLibraryForTests() { libraryInit(); }

}  // namespace zrt
