// The script interpreter: runs every command line of a script and returns
// one output text that echoes each command with its result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/limits.h"

namespace zrt {

struct ScriptOptions {
    bool bare = false;             // "/nt": results without their labels
    bool lineSelection = false;    // "/lns": only the listed lines run
    int lineCorrection = 0;        // "/lc": added to a line number before matching
    std::string selectedLines;     // ";1;12;23;"
    bool progress = false;         // progress indicator
    bool quiet = false;            // "/nln": no echo for successful commands
    bool savePlots = false;        // "/spl"
};

struct ScriptResult {
    std::string output;
    long long commands = 0;
    long long errors = 0;
    // commands x 1000 + errors, as the system reports it (saturated to int).
    int code() const;
};

// sEval: runs the script text. A result that would make the output longer
// than kMaxScriptOutput characters fails its line with 13 instead.
ScriptResult sEval(std::string_view script, const ScriptOptions& options);

// True while sEval runs (its progress window lets the editor's messages through).
bool scriptRunning();

// A number as the result line of `command` shows it in bare output: "&FF" for
// Hex, "!101" for Bin, else formatValue with `decimals`.
std::string commandValueText(std::string_view command, double value, int decimals);

// Removes every comment: from each "'" to the end of its line (the next
// "\r\n", which stays, or the end of the text), in one pass.
std::string removeComments(std::string_view text);

// One row of the command table the editor side reads: name, type (0 no
// result, 1 result, 2 stores into memory, 3 action) and completion message.
struct CommandInfo {
    const char* name;
    int type;
    const char* message;
};
const CommandInfo* commandTable();  // 26 rows
constexpr int kCommandCount = 26;
constexpr int kExprCommandIndex = 6;
constexpr int kLastCommandIndex = 25;
// The command a text names, as the editor decides it: the first row of the
// command table whose name the text contains (any case); -1 for none (a bare
// expression, which the editor runs as "Expr = " + text).
int commandIn(std::string_view text);

// Every command word the interpreter runs, once each (case ignored): the
// command table's names first, then the commands it does not list.
std::vector<std::string> scriptCommandWords();

// V: a value rounded to `decimals` digits after the point, trailing zeros and
// a trailing point removed ("-0" prints as 0; infinities as "+Infinity" ...).
std::string formatValue(double value, int decimals);

// The status of the last sDiff command: -1 when it succeeded, else the code
// of its error; back to -1 at the start of every script line.
int lastSDiffStatus();
void setLastSDiffStatus(int code);

void resetInterpreter();

}  // namespace zrt
