// Letters of names. A name is a letter or "_" followed by letters, digits and
// "_"; letters are the ASCII letters and the letters of the alphabets beyond
// ASCII (Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic, Georgian, kana,
// CJK, Hangul) in their UTF-8 form, so größe and π are names like x. Symbols
// beyond ASCII (×, ², °, ...) are no letters.
#pragma once

#include <cstddef>
#include <string_view>

namespace zrt {

// Bytes of the letter that starts at text[at]; 0 when no letter starts there.
std::size_t letterLength(std::string_view text, std::size_t at);

// Bytes of the name character (letter, digit or "_") at text[at], else 0.
std::size_t nameCharLength(std::string_view text, std::size_t at);

// Where the run of name characters that starts at text[at] ends.
std::size_t nameCharsEnd(std::string_view text, std::size_t at);

// Whether a name character ends right before text[end].
bool nameCharBefore(std::string_view text, std::size_t end);

// Whether the text is a name: it starts with a letter or "_" and holds only
// name characters.
bool isName(std::string_view text);

}  // namespace zrt
