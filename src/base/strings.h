// Small text helpers every layer uses. Texts are UTF-8 bytes; case and
// blanks are ASCII (names, commands and keys are compared this way).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zrt {

// ASCII lower case and upper case.
std::string lowerAscii(std::string_view text);
std::string upperAscii(std::string_view text);

// Trims blanks (spaces) at both ends.
std::string_view trimBlanks(std::string_view text);

// Trims spaces and tabs at both ends.
std::string trimmed(std::string_view text);

bool startsWith(std::string_view text, std::string_view prefix);

// The text, or its first cap bytes and " ... (N characters)" when it is
// longer: long formulas in reports and trace lines.
std::string clipped(std::string_view text, std::size_t cap);

}  // namespace zrt
