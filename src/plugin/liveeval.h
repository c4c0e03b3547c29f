// Results as you type: a line ending in "=" gets its value when the user
// presses Enter, and the selection's value shows in the status bar. Both are
// options (off by default) and both watch the notifications of either view.
#pragma once

#include <string>
#include <string_view>

#include "base/limits.h"
#include "plugin/nppinterface.h"

namespace zrt {

// SCN_CHARADDED and SCN_UPDATEUI of either editing view (others are ignored).
void liveNotification(const npp::Notification& n);

// The Options entries: `checked` is the entry's check mark before the click.
// Each stores its key, reports in a box and gives the new state.
bool toggleEvalOnEqual(bool checked);
bool toggleSelectionInStatus(bool checked);

// What "=" then Enter does for the text before the line's final "=": the text
// to insert (the bare value, or "Error n: description"), or for a matrix
// result the call tip that shows it. Both empty: nothing to do.
struct EqualLineResult {
    std::string insert;
    std::string tip;
};
EqualLineResult evaluateEqualLine(std::string_view textBeforeEqual);

// The status bar's text for a selection: "= " and its value, or empty when it
// is no single-line formula (script commands other than Expr, Hex and Bin are
// never run). Nothing is stored and nothing is shown or logged.
std::string selectionStatusText(std::string_view selection);

}  // namespace zrt
