#include "script/flags.h"

#include <charconv>
#include <vector>

#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "platform/paths.h"
#include "script/runlog.h"
#include "log/pluginlog.h"

namespace zrt {

namespace {

struct FlagsState {
    BatchFlags flags;
};

FlagsState& flagsState() {
    static FlagsState state;
    return state;
}

// "gc" (/gclp) reads the clipboard; "pb" (/pb), "rr" (/rr) and "qu" (/quit)
// are recognised and change nothing in the record.
const ParamKey kKeys[] = {
    {"nt", ParamKind::Word},     {"pb", ParamKind::Word},     {"i ", ParamKind::FileName},
    {"o ", ParamKind::FileName}, {"a ", ParamKind::FileName}, {"sc", ParamKind::Word},
    {"se", ParamKind::Selection}, {"de", ParamKind::Word},    {"ln", ParamKind::Word},
    {"lc", ParamKind::Word},     {"sp", ParamKind::FileAfterColon},
    {"lo", ParamKind::FileAfterColon},                        {"rs", ParamKind::Word},
    {"re", ParamKind::Word},     {"no", ParamKind::Word},     {"nl", ParamKind::Word},
    {"h ", ParamKind::Word},     {"sm", ParamKind::Word},     {"lg", ParamKind::Word},
    {"sf", ParamKind::Word},     {"cm", ParamKind::Word},     {"w ", ParamKind::Word},
    {"ab", ParamKind::Word},     {"gc", ParamKind::Word},     {"rr", ParamKind::Word},
    {"qu", ParamKind::Word},
};

std::string keyOf(std::string_view piece) { return lowerAscii(piece.substr(0, 2)); }

bool isParameter(std::string_view piece) { return parameterKey(piece) != nullptr; }

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
        const std::string_view piece =
            std::string_view(line).substr(end + 1, next == std::string::npos ? std::string::npos
                                                                              : next - end - 1);
        if (next == std::string::npos || isParameter(piece)) break;
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

BatchFlags& batchFlags() { return flagsState().flags; }

const ParamKey* parameterKey(std::string_view piece) {
    const std::string key = keyOf(piece);
    for (const ParamKey& k : kKeys)
        if (key == k.key) return &k;
    return nullptr;
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
        const std::string key = keyOf(piece);
        std::size_t resume = next;
        if (isParameter(piece)) {
            if (count) params += ", ";
            params += std::to_string(++count) + "=" + std::string(trimBlanks(piece));
        }
        if (key == "nt") {
            f.bareF = true;
        } else if (key == "pb") {
            f.progressF = true;
        } else if (key == "i ") {
            f.InpFN = std::string(trimBlanks(std::string_view(piece).substr(2)));
            f.inputF = true;
            // A file named now is what runs, whatever an earlier run selected.
            f.getFromSelTextF = f.getFromClpF = false;
        } else if (key == "o " || key == "a ") {
            f.OutpFN = std::string(trimBlanks(std::string_view(piece).substr(2)));
            if (f.OutpFN.empty()) applyDefaultOutput(f);
            f.outputF = true;
            f.AppendF = f.NoHF = key == "a ";
            f.getFromSelTextF = f.getFromClpF = false;
        } else if (key == "sc") {
            f.SaveToClpBF = true;
        } else if (key == "se") {
            const std::size_t colon = piece.find(':');
            const std::size_t start = slash + 1 + (colon == std::string::npos ? 3 : colon + 1);
            resume = takeSelection(line, std::min(start, next), f.selText);
            f.getFromSelTextF = f.NoHF = true;
            f.getFromClpF = f.inputF = false;
        } else if (lowerAscii(piece.substr(0, 3)) == "dec") {
            f.decimals = integerValue(valueAfterColon(piece), f.decimals);
        } else if (key == "de") {
            f.delF = true;
        } else if (key == "ln") {
            f.LnsStr = ";" + valueAfterColon(piece) + ";";
            f.lnsF = f.AppendF = f.NoHF = true;
            f.getFromSelTextF = f.getFromClpF = false;
        } else if (key == "lc") {
            f.lineCorrection = integerValue(valueAfterColon(piece), 0);
            f.lineCorrectionF = true;
        } else if (key == "sp") {
            f.splF = true;
            f.splPath = valueAfterColon(piece);
        } else if (key == "lo") {
            f.logF = true;
            f.logFileN = valueAfterColon(piece);
        } else if (key == "rs") {
            f.rsetF = true;
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
        } else if (key == "re") {
            f.repF = true;
        } else if (key == "no") {
            f.NoHF = true;
        } else if (key == "nl") {
            f.noLnExpF = true;
            f.quietParam = " /nln ";
        } else if (key == "h ") {
            f.helpF = true;
        } else if (key == "sm") {
            f.showMemF = true;
        } else if (key == "lg") {
            f.showLogF = true;
        } else if (key == "sf") {
            f.showFlagsF = true;
        } else if (key == "cm") {
            f.showCmdsF = true;
        } else if (key == "w ") {
            f.windowF = true;
        } else if (key == "ab") {
            f.aboutF = true;
        } else if (key == "gc") {
            f.getFromClpF = true;
            f.getFromSelTextF = f.inputF = false;
        }
        slash = resume < line.size() && line[resume] == '/' ? resume : line.find('/', resume);
    }
    applyDefaultOutput(f);
    pluginLog("ParseCmdLine", ": Params  = '" + params + "'");
}

std::string helpText() {
    static const char* const lines[] = {
        "Syntax: Quillet [parameters], Quillet /h",
        "",
        "parameters:",
        " /i           InputFN[.zrt] Zerith script file name (text format) to evaluate",
        " /o           OutputFN.zrt write output to file name (text format)",
        "              if missing, OutpFN.zrt in InputFN folder is used",
        "              /a /o=overwrite - /a=append, if file exists",
        "",
        " /gclp        Get script text To evaluate from CLiPboard (disable /i)",
        " /sel:'...'   evaluate SELected text (disable /i, enable /noh)",
        " /sclp        Save result to CLiPboard (disable /o and /a)",
        " /del         DELete output files before execution",
        " /lns:x;y;z;  evaluate LiNenrS only - max 10 (es. /lns:1;12;23)",
        "              forces /a parameter (append new lines to file)",
        "              => Note: This function may give errors if result depends ",
        "              on previous lines that where not elaborated",
        " /lc:n        Correct Line number by n (must have /lns:)",
        " /spl[:path\\] Save PLots screenshots (jpg) in path with sequantial",
        "              filenames if path is missing, the same of OutputFN",
        "              is used",
        " /rr          Remains running preserving variables stored in memory",
        " /dec:nr      show numbers using nr DECimals (es. /dec:3 gives 0.456)",
        " /log[:file]  save LOG to file. If file is missing, uses zrtCmds.log",
        " /rset        ReSET ZeRarove and all command variables and strings",
        "              all other parameters are ignored",
        " /noh         NO Header when appending to output",
        " /nln         No Line Number and expression repeated appending to output",
        " /quit        QUIT if terminate stay resident",
        "",
        " /h           show Help screen with commands and syntax",
        " /sm          Show Memory (i.e. variables and matrices stored internally)",
        " /lg          show LoG file (if any)",
        " /w           show setup Window",
        " /cm          show CoMmands",
        " /sf          Show internal Flags (must be /rr)",
        " /rep         REPeat last command line",
        "",
        "Program Exit Code returns Command Executed and Errors count",
        " es. 123002 means 123 Commands Executed and 2 Errors encountered",
    };
    std::string text;
    for (const char* l : lines) {
        if (!text.empty() || l != lines[0]) text += "\r\n";
        text += l;
    }
    return text;
}

std::string flagsDump() {
    const BatchFlags& f = batchFlags();
    auto b = [](bool v) { return v ? std::string("1") : std::string("0"); };
    std::string t = "Flags and Variables:";
    t += "\r\nInpFN = " + f.InpFN;
    t += "\r\nlnsF = " + b(f.lnsF);
    t += "\r\nLnsStr = " + f.LnsStr;
    t += "\r\ngetFromClpF = " + b(f.getFromClpF);
    t += "\r\ngetFromSelTextF = " + b(f.getFromSelTextF);
    t += "\r\n";
    t += "\r\nOutpFN = " + f.OutpFN;
    t += "\r\nAppendF = " + b(f.AppendF);
    t += "\r\nNoHF = " + b(f.NoHF);
    t += "\r\nnoLnExpF= " + b(f.noLnExpF);
    t += "\r\nSaveToClpBF = " + b(f.SaveToClpBF);
    t += "\r\ndecimals= " + std::to_string(f.decimals);
    t += "\r\n";
    t += "\r\nCurDir = " + f.CurDir;
    t += "\r\n";
    t += "\r\nsplF = " + b(f.splF);
    t += "\r\nsplPath = " + f.splPath;
    t += "\r\nlogF = " + b(f.logF);
    t += "\r\nlogFileN= " + f.logFileN;
    t += "\r\nrrF = " + b(f.rrF);
    t += "\r\nrsetF = " + b(f.rsetF);
    t += "\r\nquitF = " + b(f.quitF);
    t += "\r\ndelF = " + b(f.delF);
    t += "\r\nPress any keys...";
    return t;
}

void resetBatchFlags() { flagsState() = FlagsState{}; }

}  // namespace zrt
