// The one exception barrier. The exports, the menu commands, the window
// procedures and the library entry run their work inside it: nothing passes
// it (the host could not catch what mingw-built code throws), and what it
// catches is reported through e_error (0: the operation stopped before
// completion) and an error log entry "Exception: ..." under `proc`.
#pragma once

#include <exception>
#include <new>

namespace zrt {

void reportCaught(const char* proc, const char* what) noexcept;

// Runs body; any exception becomes `fallback`.
template <class R, class F>
R barrier(const char* proc, R fallback, F&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        reportCaught(proc, "Out of memory");
    } catch (const std::exception& e) {
        reportCaught(proc, e.what());
    } catch (...) {
        reportCaught(proc, "Unexpected failure");
    }
    return fallback;
}

template <class F>
void barrierVoid(const char* proc, F&& body) noexcept {
    barrier(proc, 0, [&] {
        body();
        return 0;
    });
}

}  // namespace zrt
