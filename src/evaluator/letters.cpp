#include "evaluator/letters.h"

namespace zrt {

namespace {

struct Range {
    char32_t first, last;
};

// Letter blocks beyond ASCII, in code point order.
constexpr Range kLetters[] = {
    {0x00AA, 0x00AA}, {0x00B5, 0x00B5}, {0x00BA, 0x00BA}, {0x00C0, 0x00D6}, {0x00D8, 0x00F6},
    {0x00F8, 0x02AF},  // Latin-1 letters, Latin Extended-A and -B, IPA
    {0x0370, 0x0373}, {0x0376, 0x0377}, {0x037B, 0x037D}, {0x037F, 0x037F}, {0x0386, 0x0386},
    {0x0388, 0x03F5}, {0x03F7, 0x0481}, {0x048A, 0x052F},  // Greek, Cyrillic
    {0x0531, 0x0556}, {0x0561, 0x0587},                    // Armenian
    {0x05D0, 0x05EA}, {0x0620, 0x064A}, {0x0671, 0x06D3},  // Hebrew, Arabic
    {0x10A0, 0x10FF},                                      // Georgian
    {0x1E00, 0x1FBC}, {0x1FC2, 0x1FCC}, {0x1FD0, 0x1FDB}, {0x1FE0, 0x1FEC}, {0x1FF2, 0x1FFC},
    {0x3041, 0x3096}, {0x30A1, 0x30FA},  // kana
    {0x4E00, 0x9FFF}, {0xAC00, 0xD7A3},  // CJK ideographs, Hangul syllables
};

bool isLetterBeyondAscii(char32_t cp) {
    for (const Range& r : kLetters) {
        if (cp < r.first) return false;
        if (cp <= r.last) return true;
    }
    return false;
}

// The code point of a well-formed UTF-8 sequence at text[at] and its length;
// length 0 for a byte that starts none.
char32_t decode(std::string_view text, std::size_t at, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    length = 0;
    if (n == 0 || at + n > text.size()) return 0;
    char32_t cp = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(text[at + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    length = n;
    return cp;
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::size_t letterLength(std::string_view text, std::size_t at) {
    if (at >= text.size()) return 0;
    const char c = text[at];
    if (static_cast<unsigned char>(c) < 0x80) return isAsciiLetter(c) ? 1 : 0;
    std::size_t length = 0;
    const char32_t cp = decode(text, at, length);
    return length && isLetterBeyondAscii(cp) ? length : 0;
}

std::size_t nameCharLength(std::string_view text, std::size_t at) {
    if (at >= text.size()) return 0;
    const char c = text[at];
    if ((c >= '0' && c <= '9') || c == '_') return 1;
    return letterLength(text, at);
}

std::size_t nameCharsEnd(std::string_view text, std::size_t at) {
    while (const std::size_t n = nameCharLength(text, at)) at += n;
    return at;
}

bool nameCharBefore(std::string_view text, std::size_t end) {
    if (end == 0 || end > text.size()) return false;
    // Back over the continuation bytes to the start of the last character.
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        --start;
    return nameCharLength(text, start) == end - start;
}

bool isName(std::string_view text) {
    if (text.empty() || !(text[0] == '_' || letterLength(text, 0))) return false;
    return nameCharsEnd(text, 0) == text.size();
}

}  // namespace zrt
