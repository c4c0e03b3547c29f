// Helpers for the exported wrappers: every export converts its texts here,
// copies results into caller buffers without writing past them, and never lets
// a C++ exception reach the caller.
#pragma once

#include <new>
#include <string>
#include <string_view>

#include "base/barrier.h"
#include "base/errors.h"
#include "base/text16.h"
#include "zerith.h"

namespace zrt::abi {

inline const char16_t* u16(const zrt_char* text) { return reinterpret_cast<const char16_t*>(text); }

// The empty result text (what a failed text export returns).
inline const zrt_char* emptyText() {
    static const zrt_char empty[1] = {0};
    return empty;
}

// Text argument; a null pointer reads as the empty text.
inline std::string in(const zrt_char* text) { return fromUtf16(u16(text)); }

// A library-owned result text, valid until the next call that uses the same slot.
inline const zrt_char* keep(std::u16string& slot, std::string_view utf8) {
    slot = toUtf16(utf8);
    return reinterpret_cast<const zrt_char*>(slot.c_str());
}

// Length in UTF-16 units of a zero-terminated caller text (0 for null).
inline int callerTextLength(const zrt_char* text) {
    if (!text) return 0;
    int n = 0;
    while (text[n] && n < 0x7FFFFFFF) ++n;
    return n;
}

// Copies at most maxChars units of text and a terminating zero into buffer
// (which holds maxChars + 1 units; with 0 only the zero). Nothing is written
// for a negative maxChars. Returns the number of units copied.
int copyOut(zrt_char* buffer, int maxChars, std::u16string_view text);

// Runs the body of an export inside the library's exception barrier; any
// exception becomes `fallback`.
template <class R, class F>
R guard(const char* exportName, R fallback, F&& body) noexcept {
    return barrier(exportName, fallback, body);
}

// An export whose body returns a matrix status: the host gets the status's
// number; an exception gives 0 (stopped before completion).
template <class F>
int32_t statusGuard(const char* exportName, F&& body) noexcept {
    return guard(exportName, codeNumber(MatrixStatus::Stopped), [&] { return codeNumber(body()); });
}

template <class F>
void guardVoid(const char* exportName, F&& body) noexcept {
    guard(exportName, 0, [&] {
        body();
        return 0;
    });
}

}  // namespace zrt::abi
