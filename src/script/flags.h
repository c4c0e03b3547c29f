// The flags record of batch runs and the parser of the parameter line.
#pragma once

#include <string>
#include <string_view>

namespace zrt {

struct BatchFlags {
    std::string InpFN;        // input script file
    bool inputF = false;      // the script comes from InpFN
    std::string OutpFN;       // output file
    bool outputF = false;     // an output file was named
    bool AppendF = false;     // append instead of overwriting
    bool NoHF = false;        // no header in the output
    bool getFromClpF = false;      // the script comes from the clipboard
    bool getFromSelTextF = false;  // the script is the "/sel" text
    std::string selText;           // the "/sel" text as given (quotes included)
    bool SaveToClpBF = false;      // result to the clipboard
    bool delF = false;             // delete the output file before the run
    bool lnsF = false;             // run only the listed lines
    std::string LnsStr;            // ";" + list + ";"
    int lineCorrection = 0;
    bool lineCorrectionF = false;
    bool splF = false;             // save plot windows as pictures
    std::string splPath;           // their folder ("0" when none)
    bool logF = false;
    std::string logFileN;
    bool noLnExpF = false;         // quiet: no echo for successful commands
    std::string quietParam;        // " /nln " when set
    bool rsetF = false;
    bool rrF = false;
    bool quitF = false;
    bool repF = false;
    bool windowF = false;
    bool bareF = false;            // results without labels
    bool progressF = false;        // progress indicator during the run
    bool helpF = false;
    bool showMemF = false;
    bool showLogF = false;
    bool showFlagsF = false;
    bool showCmdsF = false;
    bool aboutF = false;
    int decimals = 4;              // digits after the point in results
    std::string CurDir;            // the plug-in folder
};

BatchFlags& batchFlags();

// The parameters, one row each: the parser, the help screen and the command
// line tool read them from one table. A piece of the parameter line (the text
// between two "/") is a parameter when its first two characters, lower-cased,
// are one of the keys; "i ", "o ", "a ", "h " and "w " are one letter and a
// blank, so "/nohead" is "/noh" and "/i:x" is no parameter. "/dec" and "/del"
// share "de": a piece that begins with "dec" is "/dec", any other "/del".
enum class ParamKind {
    Word,            // everything else: a word, or a word with ":" and a value
    FileName,        // the rest of the piece is a file name ("/i", "/o", "/a")
    FileAfterColon,  // a file or folder name after ":" ("/log:", "/spl:")
    Selection,       // a script text follows ("/sel:")
};
struct ParamPiece;  // a piece of the line as the parser hands it to a parameter
struct Parameter {
    const char* key;         // two characters, lower case
    const char* longer;      // null, or the longer beginning the row needs ("dec")
    ParamKind kind;
    bool BatchFlags::*flag;  // the flag the parameter sets (before apply runs), or null
    void (*apply)(ParamPiece& piece);  // what else it does, or null
    int helpBlock;           // its block of lines on the help screen (0: not shown)
    const char* usage;       // the word as the help screen shows it
    const char* help;        // its help text, "\n" between lines
};
// The row of the piece's key; null when the piece is no parameter.
const Parameter* parameterKey(std::string_view piece);
// Every row, those on the help screen first in its order; a row with a null
// key ends the table.
const Parameter* parameterTable();

// Parses a parameter line into the flags record. Only what the given
// parameters touch changes, apart from the requests of one run (bare results,
// "/del", the line selection and its correction, the progress indicator, the
// screens), which every parse clears first.
void ParseCmdLine(std::string_view line);

// The help screen text and the flags dump.
std::string helpText();
std::string flagsDump();

void resetBatchFlags();

}  // namespace zrt
