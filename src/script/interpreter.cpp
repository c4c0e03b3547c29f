#include "script/interpreter.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "base/errors.h"
#include "base/strings.h"
#include "platform/platform.h"
#include "script/commands.h"
#include "script/commands_plot.h"
#include "script/evaluation.h"
#include "script/files.h"
#include "script/flags.h"
#include "ui/matrixprint.h"

namespace zrt {

namespace {

const CommandInfo kCommands[kCommandCount] = {
    {"aElemOrderEx", 0, ""},
    {"Debug", 2, "Value Set"},
    {"ErrorMsgs", 2, "Value Set"},
    {"Derivate", 1, ""},
    {"DerivateF", 1, ""},
    {"DimX", 2, "Expression Loaded in Memory"},
    {"Expr", 1, ""},
    {"ExprF", 1, ""},
    {"Funct", 2, "Expression Loaded in Memory"},
    {"FunctF", 2, "Expression Loaded in Memory"},
    {"Hex", 1, ""},
    {"Bin", 1, ""},
    {"Integrate", 1, ""},
    {"IntegrateF", 1, ""},
    {"Matr", 2, "Expression Loaded in Memory"},
    {"MatrF", 2, "Expression Loaded in Memory"},
    {"Plot", 3, "Command Executed"},
    {"Pause", 0, ""},
    {"StoExpr", 1, ""},
    {"Show", 3, ""},
    {"Var", 2, "Expression Loaded in Memory"},
    {"VarPolyn", 2, "Expression Loaded in Memory"},
    {"Vect", 2, "Expression Loaded in Memory"},
    {"VectF", 2, "Expression Loaded in Memory"},
    {"sDiff", 1, ""},
    {"sDiffF", 1, ""},
};

struct InterpreterState {
    int lastSDiffStatus = -1;
    int runs = 0;  // sEval calls under way
};

InterpreterState& interpreterState() {
    static InterpreterState state;
    return state;
}

std::string withoutQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\'') out += c;
    return out;
}

// The lines of a script: the text is cut at every "\r\n".
std::vector<std::string_view> splitLines(std::string_view script) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = script.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(script.substr(start));
            break;
        }
        lines.push_back(script.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A line as the interpreter reads it: a stray line feed and the blanks and
// tabs at both ends dropped.
std::string cleanLine(std::string_view raw) {
    std::string line = trimmed(raw);
    while (!line.empty() && (line.front() == '\n' || line.front() == '\r')) line.erase(0, 1);
    return trimmed(line);
}

std::string cutComment(std::string_view line) {
    const std::size_t q = line.find('\'');
    return std::string(q == std::string_view::npos ? line : line.substr(0, q));
}

// Binary digits of a 64-bit two's-complement integer, without leading zeros.
std::string binaryDigits(std::uint64_t v) {
    if (v == 0) return "0";
    std::string digits;
    while (v) {
        digits += static_cast<char>('0' + (v & 1));
        v >>= 1;
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string hexDigits(std::uint64_t v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v, 16);
    return upperAscii(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

// The value rounded to an integer as 64-bit two's complement; values outside
// the range saturate and not-a-number gives 0.
std::uint64_t integerBits(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);
    if (r >= 9223372036854775807.0) return static_cast<std::uint64_t>(INT64_MAX);
    if (r <= -9223372036854775808.0) return static_cast<std::uint64_t>(INT64_MIN);
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(r));
}

class ScriptRun final : public CommandOutput {
   public:
    ScriptRun(const ScriptOptions& options) : options_(options) {
        // The listed numbers are the texts between two ";" of the list. Each
        // line number is asked for once, so a set answers as a search of the
        // list text would, without reading the whole list for every line.
        const std::string& list = options.selectedLines;
        for (std::size_t at = list.find(';'), next; at != std::string::npos; at = next) {
            next = list.find(';', at + 1);
            if (next != std::string::npos) selected_.insert(list.substr(at + 1, next - at - 1));
        }
        if (!options.bare) {
            numberLabel_ = "Number =";
            vectorLabel_ = "Vector: ";
            matrixLabel_ = "Matrix: ";
            resultPrefix_ = " Result => ";
            storePrefix_ = " Stored => ";
        }
        decimals_ = batchFlags().decimals;
    }

    ScriptResult run(std::string_view script);

   private:
    // Whether line number j is one of the selected lines (each is used once).
    bool takeSelected(long long j) {
        return selected_.erase(std::to_string(j + options_.lineCorrection)) != 0;
    }

    std::string echo(long long j, const std::string& part) const {
        return "Ln " + std::to_string(j) + part;
    }

    // ---- CommandOutput ----
    void success(const CommandLine& cmd, const std::string& echoPart, const std::string& prefix,
                 const std::string& result) override {
        // A short line may print a large result again and again: the output
        // stops taking results at kMaxScriptOutput.
        if (out_.size() + echoPart.size() + prefix.size() + result.size() > kMaxScriptOutput) {
            const std::string detail = "the result of " + std::to_string(result.size()) +
                                       " characters would make the output longer than " +
                                       std::to_string(kMaxScriptOutput);
            failReplacing(ErrorCode::InvalidArgument, "sEval", detail);
            failure(cmd, echoPart, ErrorCode::InvalidArgument, detail);
            return;
        }
        if (!options_.quiet) out_ += echo(cmd.number, echoPart);
        // A matrix result ends its last row with "\r\n" of its own: two empty
        // lines follow it.
        out_ += prefix;
        out_ += result;
        out_ += "\r\n\r\n";
    }

    void failure(const CommandLine& cmd, const std::string& echoPart, ErrorCode code,
                 const std::string& detail = {}) override {
        ++errors_;
        out_ += echo(cmd.number, echoPart);
        out_ += resultPrefix_;
        out_ += "===> ERROR n. = " + std::to_string(codeNumber(code)) + ": " + errorText(code);
        if (!detail.empty()) out_ += " - " + detail;
        out_ += "\r\n\r\n";
    }

    void append(const std::string& text) override { out_ += text; }
    const std::string& numberLabel() const override { return numberLabel_; }
    const std::string& resultPrefix() const override { return resultPrefix_; }
    std::string number(double v) const override { return formatValue(v, decimals_); }
    bool savePlots() const override { return options_.savePlots; }
    bool readInput(const CommandLine& cmd, const std::string& echoPart, const std::string& file,
                   std::string& text) override;
    void writeOutput(const std::string& file, const std::string& text) override;

    void echoOnly(const CommandLine& cmd, const std::string& echoPart) override {
        if (!options_.quiet) out_ += echo(cmd.number, echoPart);
    }
    std::string valueText(const Evaluated& v) const override;
    std::string elementList(const Evaluated& v) const override;
    bool tooLargeToShow(const CommandLine& cmd, const std::string& echoPart, const Evaluated& v,
                        const char* note) override;
    bool followingLine(std::size_t k, std::string& line) const override;
    void skipLines(long long count) override { skipped_ += count; }

    void command(long long j, const std::string& line);

    ScriptOptions options_;
    std::vector<std::string_view> lines_;  // the script's lines, and the piece after the last
    std::size_t index_ = 0;                // the line that runs
    long long skipped_ = 0;                // the lines its command took
    std::unordered_set<std::string> selected_;
    std::string numberLabel_, vectorLabel_, matrixLabel_, resultPrefix_, storePrefix_;
    int decimals_ = 4;
    std::string out_;
    long long commands_ = 0;
    long long errors_ = 0;
};

// A matrix of more elements than a text shows fails its line with 13: the
// text would bury the output and the memory (a StoExpr has stored it anyway).
bool ScriptRun::tooLargeToShow(const CommandLine& cmd, const std::string& echoPart,
                               const Evaluated& v, const char* note) {
    const std::int64_t n = std::int64_t{v.rows} * v.cols;
    if (!v.isMatrix || n <= kMaxShownElements) return false;
    const std::string detail = "the matrix has " + std::to_string(v.rows) + " x " +
                               std::to_string(v.cols) + " elements, more than the " +
                               std::to_string(kMaxShownElements) + " a result shows" + note;
    failReplacing(ErrorCode::InvalidArgument, "sEval", detail);
    failure(cmd, echoPart, ErrorCode::InvalidArgument, detail);
    return true;
}

std::string ScriptRun::valueText(const Evaluated& v) const {
    if (!v.isMatrix) return numberLabel_ + " " + number(v.number);
    const std::string& label = v.cols == 1 ? vectorLabel_ : matrixLabel_;
    return label + printMatrix(v, decimals_);
}

std::string ScriptRun::elementList(const Evaluated& v) const {
    std::string text = v.cols == 1 ? vectorLabel_ : matrixLabel_;
    for (int r = 0; r < v.rows; ++r) {
        for (int c = 0; c < v.cols; ++c) {
            const double e =
                v.elements[static_cast<std::size_t>(r) * static_cast<std::size_t>(v.cols) +
                           static_cast<std::size_t>(c)];
            if (v.cols == 1) {
                text += "vE(" + std::to_string(r + 1) + ")=" + number(e) + "\t";
            } else {
                text += "mA(" + std::to_string(r + 1) + "," + std::to_string(c + 1) +
                        ")=" + number(e) + "\t";
            }
        }
        text += "\r\n";
    }
    return text;
}

bool ScriptRun::readInput(const CommandLine& cmd, const std::string& echoPart,
                          const std::string& file, std::string& text) {
    bool ok = false;
    text = fileRoutine(file, "fileinp", "", &ok);
    if (ok) {
        text = fileArgument(text);
        return true;
    }
    failReplacing(ErrorCode::InvalidArgument, "sEval", "File not read: " + file);
    failure(cmd, echoPart, ErrorCode::InvalidArgument);
    return false;
}

void ScriptRun::writeOutput(const std::string& file, const std::string& text) {
    if (!file.empty()) fileRoutine(file, "fileout", text);
}

bool ScriptRun::followingLine(std::size_t k, std::string& line) const {
    // The piece after the script's last "\r\n" is no line.
    if (index_ + k + 1 >= lines_.size()) return false;
    line = cutComment(cleanLine(lines_[index_ + k]));
    return true;
}

void ScriptRun::command(long long j, const std::string& lineIn) {
    CommandLine cmd;
    cmd.number = j;
    // A comment after the command is no part of it.
    cmd.line = cutComment(lineIn);
    const std::string& line = cmd.line;
    std::size_t p = line.find('=');
    std::string name;
    std::size_t argStart;
    if (p != std::string::npos) {
        const std::string before = line.substr(0, p);
        const std::size_t open = before.find('(');
        if (open != std::string::npos) {
            const std::size_t close = before.find(')', open);
            name = before.substr(0, open);
            cmd.params = before.substr(
                open + 1, (close == std::string::npos ? before.size() : close) - open - 1);
        } else {
            name = before;
        }
        argStart = p + 1;
    } else if ((p = line.find('(')) != std::string::npos) {
        const std::size_t close = line.find(')', p);
        name = line.substr(0, p);
        cmd.params = line.substr(p + 1, (close == std::string::npos ? line.size() : close) - p - 1);
        argStart = p + 1;
    } else {
        return;  // neither "=" nor "(": not a command
    }
    cmd.typed = trimmed(name);
    cmd.name = lowerAscii(cmd.typed);
    cmd.raw = trimmed(line.substr(argStart));
    cmd.arg = trimmed(withoutQuotes(cmd.raw));

    ++commands_;
    if (options_.progress)
        platform::progress(static_cast<int>(std::min<long long>(j, INT_MAX)),
                           static_cast<int>(std::min<std::size_t>(lines_.size() - 1, INT_MAX)),
                           true, line);
    if (const CommandHandler handler = findCommand(cmd.name)) {
        handler(cmd, *this);
        return;
    }
    setEError(ErrorCode::UndefinedCommand);
    failure(cmd, ": " + upperAscii(cmd.typed) + " = " + cmd.arg + ": " + blankFileNote() + "\r\n",
            ErrorCode::UndefinedCommand);
}

ScriptResult ScriptRun::run(std::string_view script) {
    startPlotRun();
    std::string text(script);
    text += "\r\n";
    lines_ = splitLines(text);
    const std::vector<std::string_view>& lines = lines_;
    bool copyBlock = false, bangBlock = false;
    // The last piece after the final "\r\n" is no line.
    const std::size_t lineCount = lines.size() - 1;
    for (std::size_t index = 0; index < lineCount; ++index) {
        const long long j = static_cast<long long>(index) + 1;
        interpreterState().lastSDiffStatus = codeNumber(ErrorCode::None);
        if (options_.lineSelection && !takeSelected(j)) continue;
        const std::string line = cleanLine(lines[index]);

        if (copyBlock || line.find("\\\\") != std::string::npos) {
            copyBlock = true;
            out_ += line + "\r\n";
            if (line.find("//") != std::string::npos) copyBlock = false;
            continue;
        }
        if (bangBlock || line.compare(0, 2, "!\\") == 0) {
            bangBlock = true;
            out_ += line + "\r\n";
            if (line.compare(0, 2, "!/") == 0) bangBlock = false;
            continue;
        }
        if (line.compare(0, 2, "''") == 0) out_ += line + "\r\n";
        if (!line.empty() && line[0] == '\'') continue;
        index_ = index;
        skipped_ = 0;
        command(j, line);
        index += static_cast<std::size_t>(skipped_);
    }
    if (options_.progress) platform::progress(0, 0, false, "");
    while (out_.size() >= 2 && out_.compare(out_.size() - 2, 2, "\r\n") == 0)
        out_.resize(out_.size() - 2);
    ScriptResult result;
    result.output = std::move(out_);
    result.commands = commands_;
    result.errors = errors_;
    return result;
}

}  // namespace

int ScriptResult::code() const {
    const long long c = commands * 1000 + errors;
    return static_cast<int>(std::min<long long>(c, INT_MAX));
}

ScriptResult sEval(std::string_view script, const ScriptOptions& options) {
    struct Running {
        Running() { ++interpreterState().runs; }
        ~Running() { --interpreterState().runs; }
    } running;
    return ScriptRun(options).run(script);
}

bool scriptRunning() {
    return interpreterState().runs > 0;
}

std::string commandValueText(std::string_view command, double value, int decimals) {
    const std::string name = lowerAscii(command);
    if (name == "hex") return "&" + hexDigits(integerBits(value));
    if (name == "bin") return "!" + binaryDigits(integerBits(value));
    return formatValue(value, decimals);
}

std::string removeComments(std::string_view text) {
    // Each comment goes by itself: a comment that begins like an earlier one
    // ('ab, later 'abc) must not leave its rest ("c") behind as code.
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t quote = text.find('\'', from);
        if (quote == std::string_view::npos) {
            out.append(text.substr(from));
            break;
        }
        out.append(text.substr(from, quote - from));
        from = text.find("\r\n", quote);
    }
    return out;
}

const CommandInfo* commandTable() {
    return kCommands;
}

int commandIn(std::string_view text) {
    const std::string lower = lowerAscii(text);
    for (int k = 0; k <= kLastCommandIndex && k < kCommandCount; ++k)
        if (lower.find(lowerAscii(kCommands[k].name)) != std::string::npos) return k;
    return -1;
}

std::vector<std::string> scriptCommandWords() {
    std::vector<std::string> words;
    const auto add = [&words](std::string_view name) {
        for (const std::string& w : words)
            if (lowerAscii(w) == lowerAscii(name)) return;
        words.emplace_back(name);
    };
    for (const CommandInfo& c : kCommands) add(c.name);
    for (std::string_view name : commandNames()) add(name);
    return words;
}

std::string formatValue(double value, int decimals) {
    std::string text = fixedDecimals(value, decimals);
    if (std::isfinite(value) && text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

int lastSDiffStatus() {
    return interpreterState().lastSDiffStatus;
}

void setLastSDiffStatus(int code) {
    interpreterState().lastSDiffStatus = code;
}

void resetInterpreter() {
    const int runs = interpreterState().runs;
    interpreterState() = InterpreterState{};
    interpreterState().runs = runs;
}

}  // namespace zrt
