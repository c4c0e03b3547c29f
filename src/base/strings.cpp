#include "base/strings.h"

namespace zrt {

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const std::size_t e = text.find_last_not_of(' ');
    return text.substr(b, e - b + 1);
}

std::string trimmed(std::string_view text) {
    const std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    const std::size_t e = text.find_last_not_of(" \t");
    return std::string(text.substr(b, e - b + 1));
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string clipped(std::string_view text, std::size_t cap) {
    if (text.size() <= cap) return std::string(text);
    return std::string(text.substr(0, cap)) + " ... (" + std::to_string(text.size()) + " characters)";
}

}  // namespace zrt
