#include "results.h"

#include <cctype>

#include "script/interpreter.h"

namespace quillet {

namespace {

constexpr std::string_view kErrorMark = "===> ERROR n. = ";

bool isEchoLine(std::string_view line) {
    if (line.rfind("Ln ", 0) != 0) return false;
    std::size_t i = 3;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    return i > 3 && i < line.size() && line[i] == ':';
}

// Runs of blanks (the padding of the message texts) become one blank.
std::string single(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

std::string lineResults(std::string_view output, int& errors) {
    errors = 0;
    std::string out;
    std::size_t from = 0;
    while (from < output.size()) {
        std::size_t end = output.find('\n', from);
        if (end == std::string_view::npos) end = output.size();
        std::string_view line = output.substr(from, end - from);
        from = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (isEchoLine(line)) continue;
        std::string shown;
        if (const std::size_t mark = line.find(kErrorMark); mark != std::string_view::npos) {
            ++errors;
            shown = "Error " + single(line.substr(mark + kErrorMark.size()));
        } else {
            shown = single(line);
            if (!shown.empty() && shown[0] == ' ') shown.erase(0, 1);
        }
        if (shown.empty()) continue;
        out += shown + "\n";
    }
    return out;
}

std::string asScriptLine(const std::string& text) {
    return zrt::commandIn(text) >= 0 ? text : "Expr = " + text;
}

}  // namespace quillet
