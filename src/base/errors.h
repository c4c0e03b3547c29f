// The process-wide error code e_error, the message table of every module, the
// status texts of file and window operations, and the error log.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zrt {

constexpr int kNoError = -1;       // e_error when nothing failed
constexpr int kFoundMarker = 21;   // the variable store's "found" answer, not an error
constexpr int kCurrentError = -99; // GetE_ErrDescr: stands for the current e_error

int eError();
void setEError(int code);

// Text of the message table for a code of the eval block (entry 30 + code);
// entries outside 0..100 give the "Undefined Command/Keyword" text.
const std::string& errorText(int code);

// GetE_ErrDescr: the text for code (-99 = current e_error), with " | " and the
// whole error log appended when withLog is set.
std::string errorDescription(int code, bool withLog);

// GetStErrDescr: the status text for -9..-2, empty otherwise.
const std::string& statusText(int code);

// What an error report says about the formula being read. The lexer, which
// sits above this file, registers where the report comes from.
struct LexerReport {
    std::string expression;  // the whole prepared formula
    std::string marker;      // position marker line "pos(nnn)    = ---|"
    std::string element;     // spelling of the current token
    std::string token;       // e_tok
    std::string remaining;   // text not yet scanned
};
using LexerReportSource = LexerReport (*)(std::size_t fieldCap);
void setLexerReportSource(LexerReportSource source);

// LogError modes.
enum LogMode { kLogAppend = 1, kLogRead = 2, kLogClear = 4, kLogLastInfo = 8 };

// The system's LogError: mode 1 appends an entry built from the current e_error
// and the lexer's diagnostic state and returns the log; 2 returns the log; 4
// clears log and last report; 8 returns the last extended report.
std::string LogError(std::string_view proc, int line, std::string_view detail, int mode);

// Mode 1 without copying the log back: what failing procedures call.
void logError(std::string_view proc, int line, std::string_view detail);

// While muted, failures append nothing to the log (the evaluations behind a
// status-bar look must leave no trace). Returns the previous state.
bool muteErrorLog(bool muted);

const std::string& errorLog();
const std::string& lastErrorInfo();

// Load-time state: e_error 0, empty log.
void resetErrors();

}  // namespace zrt
