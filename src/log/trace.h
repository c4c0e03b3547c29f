// The library trace (a text collected in memory, or message boxes) that the
// evaluator, the solvers and the differentiator write into, and the switches
// that decide whether the library shows its error messages.
#pragma once

#include <string>
#include <string_view>

namespace zrt {

// Library trace mode, a bit set tested in this order, first match wins:
// 0 nothing; bit 1 silent; bit 2 a message box per line; bit 4 collect the
// line in the trace text. Load-time value 1 (silent).
int SetDebugF(int mode);  // returns the previous mode
int debugMode();

// DebugAdd: one trace line; the message box (bit 2) uses the title.
void DebugAdd(std::string_view text, std::string_view title);
// The same; with `returnLog` the trace text afterwards is the result.
std::string DebugAdd(std::string_view text, std::string_view title, bool returnLog);
// True when a trace line would go somewhere (callers skip building it otherwise).
bool tracing();

const std::string& debugLog();
void clearDebugLog();

// The message switch set by ShowMsgs: bit 0 makes the evaluator show its
// error messages in a box titled "ZeRarove: Error". ShowMsgs(2) also sets the
// trace mode to 1.
int ShowMsgs(int mode);
int messageSwitch();

// Shows an error text in a box titled "ZeRarove: Error" when bit 0 of the
// message switch is set.
void showEvalError(std::string_view text);

// SetErrorMsgsF: stores the error-message mode (nothing else reads it).
int SetErrorMsgsF(int mode);

// GetDebugLog / GetErrorMsgs with show set: the confirmation box titled
// "Zerith.dll" whose Yes copies the text to the clipboard.
void showWithCopyOffer(std::string_view heading, const std::string& text);

void resetTrace();

}  // namespace zrt
