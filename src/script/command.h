// One command line of a script as the interpreter hands it to a command, and
// what a command may do with the run's output.
#pragma once

#include <cstddef>
#include <string>

#include "base/errors.h"
#include "script/evaluation.h"

namespace zrt {

struct CommandLine {
    long long number = 0;  // j, the line's number in the script
    std::string typed;     // the command name as written
    std::string name;      // the same in lower case
    std::string params;    // the text between "(" and ")" before "="
    std::string arg;       // the text after "=" (or "("), trimmed, "'" removed
    std::string raw;       // the same with its "'" kept
    std::string line;      // the whole line without its comment
};

// The output side of the run, for the commands.
class CommandOutput {
   public:
    virtual ~CommandOutput() = default;

    // Echo ("Ln " + j + echoPart, left out in quiet mode), then prefix +
    // result + a blank line.
    virtual void success(const CommandLine& cmd, const std::string& echoPart,
                         const std::string& prefix, const std::string& result) = 0;
    // Echo (always) and the error line for `code`; counts an error. A detail,
    // when given, follows the description (" - " + detail).
    virtual void failure(const CommandLine& cmd, const std::string& echoPart, ErrorCode code,
                         const std::string& detail = {}) = 0;
    // Text copied to the output as it is.
    virtual void append(const std::string& text) = 0;
    // The echo ("Ln " + j + echoPart) alone, left out in quiet mode.
    virtual void echoOnly(const CommandLine& cmd, const std::string& echoPart) = 0;

    // A result as the output shows it: the number with its label, or the
    // vector or matrix label and the matrix printer's text.
    virtual std::string valueText(const Evaluated& v) const = 0;
    // A matrix as Show lists it: "mA(r,c)=value" (or "vE(r)=value") with a
    // tab after each element and a line per row.
    virtual std::string elementList(const Evaluated& v) const = 0;
    // A matrix of more elements than a text shows fails its line with 13
    // (`note` ends the detail) and gives true; anything else gives false.
    virtual bool tooLargeToShow(const CommandLine& cmd, const std::string& echoPart,
                                const Evaluated& v, const char* note) = 0;

    // The k-th script line after the command's own (from 1), as the
    // interpreter reads it, without its comment; false past the last line.
    virtual bool followingLine(std::size_t k, std::string& line) const = 0;
    // The next `count` lines belong to this command: the run goes on after them.
    virtual void skipLines(long long count) = 0;

    // Labels: empty in bare mode.
    virtual const std::string& numberLabel() const = 0;
    virtual const std::string& resultPrefix() const = 0;
    // V: a number with the run's decimals.
    virtual std::string number(double value) const = 0;
    virtual bool savePlots() const = 0;

    // File forms: the first word of the argument names the input file, a
    // second word the output file. The file note is 20 blanks, or
    // "=>(" + argument + ")" when an output file is named.
    struct FileForm {
        std::string input;
        std::string output;
        std::string note;
    };
    static FileForm fileForm(const std::string& arg);
    // Reads a file form's input; on failure reports the error line and gives false.
    virtual bool readInput(const CommandLine& cmd, const std::string& echoPart,
                           const std::string& file, std::string& text) = 0;
    // Writes a result text to a file form's output file (when one is named).
    virtual void writeOutput(const std::string& file, const std::string& text) = 0;
};

// The 20 blanks of a command without a file.
const std::string& blankFileNote();

// A file's text as one argument: line ends at both ends dropped, trimmed.
std::string fileArgument(const std::string& text);

}  // namespace zrt
