// UTF-16 <-> UTF-8 conversion: the library keeps text as UTF-8 inside and speaks
// UTF-16 at every exported boundary.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zrt {

// A null pointer reads as the empty text. Unpaired surrogates become U+FFFD.
std::string fromUtf16(const char16_t* text);
std::string fromUtf16(std::u16string_view text);

// Invalid UTF-8 bytes become U+FFFD.
std::u16string toUtf16(std::string_view utf8);

// Length the text would have in UTF-16 units.
std::size_t utf16Length(std::string_view utf8);

}  // namespace zrt
