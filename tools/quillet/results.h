// What a run of script lines printed, as the tool shows it for one line.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The values in the output of a bare, quiet run ("/nt /nln"): echo lines
// ("Ln 3: ...") dropped, each error as "Error N: text", lines ended by "\n".
// `errors` counts the error lines.
std::string lineResults(std::string_view output, int& errors);

// A text typed by the user as one script line: a line without a command word
// is a formula and runs as "Expr = " + text, as in the editor.
std::string asScriptLine(const std::string& text);

}  // namespace quillet
