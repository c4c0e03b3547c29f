#include "script/flags.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <vector>

#include "base/numtext.h"
#include "evaluator/evaluator.h"
#include "log/pluginlog.h"
#include "platform/paths.h"
#include "script/runlog.h"

namespace zrt {

namespace {

struct FlagsState {
    BatchFlags flags;
};

FlagsState& flagsState() {
    static FlagsState state;
    return state;
}

std::string keyOf(std::string_view piece) {
    return lowerAscii(piece.substr(0, 2));
}

// The value after the first ":" of a piece, trimmed.
std::string valueAfterColon(std::string_view piece) {
    const std::size_t colon = piece.find(':');
    if (colon == std::string_view::npos) return {};
    return std::string(trimBlanks(piece.substr(colon + 1)));
}

int integerValue(std::string_view text, int fallback) {
    text = trimBlanks(text);
    int v = fallback;
    const char* b = text.data();
    if (!text.empty() && text[0] == '+') ++b;
    std::from_chars(b, text.data() + text.size(), v);
    return v;
}

void applyDefaultOutput(BatchFlags& f) {
    // Only an empty name or a folder is replaced: a new file the user named is kept.
    if (!f.InpFN.empty() && (f.OutpFN.empty() || isFolder(f.OutpFN)))
        f.OutpFN = folderOf(f.InpFN) + "Result.zrt";
}

// The "/sel:" text starting in the line at `start` (just after "sel:").
// A text opened with "'" runs to the last "'" of the line that ends its field,
// so a selection may hold "/" followed by anything; returns where parsing goes on.
std::size_t takeSelection(const std::string& line, std::size_t start, std::string& selection) {
    std::size_t open = start;
    while (open < line.size() && line[open] == ' ') ++open;
    if (open < line.size() && line[open] == '\'') {
        for (std::size_t close = line.size(); close-- > open + 1;) {
            if (line[close] != '\'') continue;
            std::size_t after = close + 1;
            while (after < line.size() && line[after] == ' ') ++after;
            if (after == line.size() || line[after] == '/') {
                selection = line.substr(open, close + 1 - open);
                return after;
            }
        }
    }
    // Without quotes: pieces that are not parameters belong to the text.
    std::size_t end = line.find('/', start);
    selection = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    while (end != std::string::npos) {
        const std::size_t next = line.find('/', end + 1);
        const std::string_view piece = std::string_view(line).substr(
            end + 1, next == std::string::npos ? std::string::npos : next - end - 1);
        if (next == std::string::npos || parameterKey(piece)) break;
        selection += '/';
        selection.append(piece);
        end = next;
    }
    while (!selection.empty() && selection.back() == '/') selection.pop_back();
    return end == std::string::npos ? line.size() : end;
}

// What a parameter asks of one run only. Every parse starts without them, so
// that nothing an earlier run asked for acts in a later one: a line selection
// ("/lns", "/lc") would make a later run evaluate only those lines of a text
// that has none; a "/del" or a screen left over by a run that ended early
// would delete or show in the next one.
void clearOneRunRequests(BatchFlags& f) {
    f.bareF = false;
    f.delF = false;
    f.lnsF = false;
    f.LnsStr.clear();
    f.lineCorrection = 0;
    f.lineCorrectionF = false;
    f.progressF = false;
    f.helpF = f.showMemF = f.showLogF = f.showFlagsF = f.showCmdsF = f.aboutF = false;
}

}  // namespace

// A piece of the parameter line as the parser hands it to a parameter.
struct ParamPiece {
    BatchFlags& f;
    const std::string& line;
    std::size_t slash;  // the "/" before the piece
    std::size_t next;   // the "/" after it
    const std::string& piece;
    std::size_t resume;  // where parsing goes on (a selection may hold "/")
};

namespace {

// A file named now is what runs, whatever an earlier run selected.
void applyInput(ParamPiece& p) {
    p.f.InpFN = std::string(trimBlanks(std::string_view(p.piece).substr(2)));
    p.f.getFromSelTextF = p.f.getFromClpF = false;
}

void outputFile(ParamPiece& p, bool append) {
    BatchFlags& f = p.f;
    f.OutpFN = std::string(trimBlanks(std::string_view(p.piece).substr(2)));
    if (f.OutpFN.empty()) applyDefaultOutput(f);
    f.AppendF = f.NoHF = append;
    f.getFromSelTextF = f.getFromClpF = false;
}

void applyOutput(ParamPiece& p) {
    outputFile(p, false);
}

void applyAppend(ParamPiece& p) {
    outputFile(p, true);
}

void applySelection(ParamPiece& p) {
    const std::size_t colon = p.piece.find(':');
    const std::size_t start = p.slash + 1 + (colon == std::string::npos ? 3 : colon + 1);
    p.resume = takeSelection(p.line, std::min(start, p.next), p.f.selText);
    p.f.NoHF = true;
    p.f.getFromClpF = p.f.inputF = false;
}

void applyDecimals(ParamPiece& p) {
    p.f.decimals = integerValue(valueAfterColon(p.piece), p.f.decimals);
}

void applyLines(ParamPiece& p) {
    p.f.LnsStr = ";" + valueAfterColon(p.piece) + ";";
    p.f.AppendF = p.f.NoHF = true;
    p.f.getFromSelTextF = p.f.getFromClpF = false;
}

void applyLineCorrection(ParamPiece& p) {
    p.f.lineCorrection = integerValue(valueAfterColon(p.piece), 0);
}

void applyPlotFolder(ParamPiece& p) {
    p.f.splPath = valueAfterColon(p.piece);
}

void applyLogFile(ParamPiece& p) {
    p.f.logFileN = valueAfterColon(p.piece);
}

void applyReset(ParamPiece& p) {
    BatchFlags& f = p.f;
    ReSetZeRarove();
    f.getFromSelTextF = f.getFromClpF = f.noLnExpF = false;
    f.quietParam.clear();
    f.NoHF = false;
    f.InpFN.clear();
    f.inputF = f.outputF = false;
    f.OutpFN.clear();
    f.splPath.clear();
    f.AppendF = false;
    f.lineCorrection = 0;
    f.lineCorrectionF = false;
    runLog("Command       : Reset ZeRarove and all command variables and string");
}

void applyQuiet(ParamPiece& p) {
    p.f.quietParam = " /nln ";
}

void applyClipboard(ParamPiece& p) {
    p.f.getFromSelTextF = p.f.inputF = false;
}

using K = ParamKind;
using F = BatchFlags;

// "/rr" and "/quit" are recognised and change nothing in the record; "/nt"
// (bare results), "/pb" (progress indicator), "/a" (told with "/o") and "/ab"
// (about screen) are not on the help screen.
const Parameter kParameters[] = {
    {"i ", nullptr, K::FileName, &F::inputF, applyInput, 1, "/i",
     "InputFN[.zrt] Zerith script file name (text format) to evaluate"},
    {"o ", nullptr, K::FileName, &F::outputF, applyOutput, 1, "/o",
     "OutputFN.zrt write output to file name (text format)\n"
     "if missing, OutpFN.zrt in InputFN folder is used\n"
     "/a /o=overwrite - /a=append, if file exists"},
    {"gc", nullptr, K::Word, &F::getFromClpF, applyClipboard, 2, "/gclp",
     "Get script text To evaluate from CLiPboard (disable /i)"},
    {"se", nullptr, K::Selection, &F::getFromSelTextF, applySelection, 2, "/sel:'...'",
     "evaluate SELected text (disable /i, enable /noh)"},
    {"sc", nullptr, K::Word, &F::SaveToClpBF, nullptr, 2, "/sclp",
     "Save result to CLiPboard (disable /o and /a)"},
    {"de", nullptr, K::Word, &F::delF, nullptr, 2, "/del", "DELete output files before execution"},
    {"ln", nullptr, K::Word, &F::lnsF, applyLines, 2, "/lns:x;y;z;",
     "evaluate LiNenrS only - max 10 (es. /lns:1;12;23)\n"
     "forces /a parameter (append new lines to file)\n"
     "=> Note: This function may give errors if result depends \n"
     "on previous lines that where not elaborated"},
    {"lc", nullptr, K::Word, &F::lineCorrectionF, applyLineCorrection, 2, "/lc:n",
     "Correct Line number by n (must have /lns:)"},
    {"sp", nullptr, K::FileAfterColon, &F::splF, applyPlotFolder, 2, "/spl[:path\\]",
     "Save PLots screenshots (jpg) in path with sequantial\n"
     "filenames if path is missing, the same of OutputFN\n"
     "is used"},
    {"rr", nullptr, K::Word, nullptr, nullptr, 2, "/rr",
     "Remains running preserving variables stored in memory"},
    {"de", "dec", K::Word, nullptr, applyDecimals, 2, "/dec:nr",
     "show numbers using nr DECimals (es. /dec:3 gives 0.456)"},
    {"lo", nullptr, K::FileAfterColon, &F::logF, applyLogFile, 2, "/log[:file]",
     "save LOG to file. If file is missing, uses zrtCmds.log"},
    {"rs", nullptr, K::Word, &F::rsetF, applyReset, 2, "/rset",
     "ReSET ZeRarove and all command variables and strings\n"
     "all other parameters are ignored"},
    {"no", nullptr, K::Word, &F::NoHF, nullptr, 2, "/noh", "NO Header when appending to output"},
    {"nl", nullptr, K::Word, &F::noLnExpF, applyQuiet, 2, "/nln",
     "No Line Number and expression repeated appending to output"},
    {"qu", nullptr, K::Word, nullptr, nullptr, 2, "/quit", "QUIT if terminate stay resident"},
    {"h ", nullptr, K::Word, &F::helpF, nullptr, 3, "/h",
     "show Help screen with commands and syntax"},
    {"sm", nullptr, K::Word, &F::showMemF, nullptr, 3, "/sm",
     "Show Memory (i.e. variables and matrices stored internally)"},
    {"lg", nullptr, K::Word, &F::showLogF, nullptr, 3, "/lg", "show LoG file (if any)"},
    {"w ", nullptr, K::Word, &F::windowF, nullptr, 3, "/w", "show setup Window"},
    {"cm", nullptr, K::Word, &F::showCmdsF, nullptr, 3, "/cm", "show CoMmands"},
    {"sf", nullptr, K::Word, &F::showFlagsF, nullptr, 3, "/sf",
     "Show internal Flags (must be /rr)"},
    {"re", nullptr, K::Word, &F::repF, nullptr, 3, "/rep", "REPeat last command line"},
    {"a ", nullptr, K::FileName, &F::outputF, applyAppend, 0, "/a", ""},
    {"nt", nullptr, K::Word, &F::bareF, nullptr, 0, "/nt", ""},
    {"pb", nullptr, K::Word, &F::progressF, nullptr, 0, "/pb", ""},
    {"ab", nullptr, K::Word, &F::aboutF, nullptr, 0, "/ab", ""},
    {nullptr, nullptr, K::Word, nullptr, nullptr, 0, nullptr, nullptr},
};

// The help screen's lines of a row: the word, then its text from column 15.
void addHelpLines(std::string& text, const Parameter& p) {
    std::string word = p.usage;
    word.resize(std::max<std::size_t>(word.size(), 12), ' ');
    std::string_view help = p.help;
    for (bool first = true;; first = false) {
        const std::size_t end = help.find('\n');
        text += "\r\n";
        text += first ? " " + word + " " : std::string(14, ' ');
        text.append(help.substr(0, end));
        if (end == std::string_view::npos) return;
        help.remove_prefix(end + 1);
    }
}

// One row of the flags dump: a field of the record, or an empty line.
struct DumpRow {
    const char* label = nullptr;
    bool BatchFlags::*flag = nullptr;
    std::string BatchFlags::*text = nullptr;
    int BatchFlags::*number = nullptr;

    DumpRow() = default;
    DumpRow(const char* l, bool BatchFlags::*m) : label(l), flag(m) {}
    DumpRow(const char* l, std::string BatchFlags::*m) : label(l), text(m) {}
    DumpRow(const char* l, int BatchFlags::*m) : label(l), number(m) {}

    std::string value(const BatchFlags& f) const {
        if (flag) return f.*flag ? "1" : "0";
        if (text) return f.*text;
        return number ? std::to_string(f.*number) : std::string();
    }
};

const DumpRow kDump[] = {
    {"InpFN = ", &F::InpFN},
    {"lnsF = ", &F::lnsF},
    {"LnsStr = ", &F::LnsStr},
    {"getFromClpF = ", &F::getFromClpF},
    {"getFromSelTextF = ", &F::getFromSelTextF},
    {},
    {"OutpFN = ", &F::OutpFN},
    {"AppendF = ", &F::AppendF},
    {"NoHF = ", &F::NoHF},
    {"noLnExpF= ", &F::noLnExpF},
    {"SaveToClpBF = ", &F::SaveToClpBF},
    {"decimals= ", &F::decimals},
    {},
    {"CurDir = ", &F::CurDir},
    {},
    {"splF = ", &F::splF},
    {"splPath = ", &F::splPath},
    {"logF = ", &F::logF},
    {"logFileN= ", &F::logFileN},
    {"rrF = ", &F::rrF},
    {"rsetF = ", &F::rsetF},
    {"quitF = ", &F::quitF},
    {"delF = ", &F::delF},
};

}  // namespace

BatchFlags& batchFlags() {
    return flagsState().flags;
}

const Parameter* parameterKey(std::string_view piece) {
    const std::string key = keyOf(piece);
    const Parameter* plain = nullptr;
    for (const Parameter* p = kParameters; p->key; ++p) {
        if (key != p->key) continue;
        if (!p->longer) {
            if (!plain) plain = p;
        } else if (lowerAscii(piece.substr(0, std::strlen(p->longer))) == p->longer) {
            return p;  // the longer beginning wins over its key's plain row
        }
    }
    return plain;
}

const Parameter* parameterTable() {
    return kParameters;
}

void ParseCmdLine(std::string_view lineIn) {
    BatchFlags& f = batchFlags();
    std::string line(lineIn);
    if (line.empty() || line.back() != '/') line += " /";
    clearOneRunRequests(f);
    pluginLog("ParseCmdLine", ": CmdLine = '" + line + "'");

    std::string params;
    int count = 0;
    std::size_t slash = line.find('/');
    while (slash != std::string::npos) {
        const std::size_t next = line.find('/', slash + 1);
        if (next == std::string::npos) break;  // the text after the last "/" is not a piece
        const std::string piece = line.substr(slash + 1, next - slash - 1);
        ParamPiece at{f, line, slash, next, piece, next};
        if (const Parameter* p = parameterKey(piece)) {
            if (count) params += ", ";
            params += std::to_string(++count) + "=" + std::string(trimBlanks(piece));
            if (p->flag) f.*(p->flag) = true;
            if (p->apply) p->apply(at);
        }
        const std::size_t resume = at.resume;
        slash = resume < line.size() && line[resume] == '/' ? resume : line.find('/', resume);
    }
    applyDefaultOutput(f);
    pluginLog("ParseCmdLine", ": Params  = '" + params + "'");
}

std::string helpText() {
    std::string text = "Syntax: Quillet [parameters], Quillet /h\r\n\r\nparameters:";
    int block = 1;
    for (const Parameter* p = kParameters; p->key; ++p) {
        if (!p->helpBlock) continue;
        if (p->helpBlock != block) text += "\r\n";
        block = p->helpBlock;
        addHelpLines(text, *p);
    }
    text += "\r\n\r\nProgram Exit Code returns Command Executed and Errors count";
    text += "\r\n es. 123002 means 123 Commands Executed and 2 Errors encountered";
    return text;
}

std::string flagsDump() {
    const BatchFlags& f = batchFlags();
    std::string t = "Flags and Variables:";
    for (const DumpRow& row : kDump) {
        t += "\r\n";
        if (row.label) t += row.label + row.value(f);
    }
    t += "\r\nPress any keys...";
    return t;
}

void resetBatchFlags() {
    flagsState() = FlagsState{};
}

}  // namespace zrt
