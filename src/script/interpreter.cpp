#include "script/interpreter.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "base/strings.h"
#include "base/errors.h"
#include "evaluator/functions.h"
#include "base/numtext.h"
#include "memory/elemorder.h"
#include "memory/varstore.h"
#include "platform/platform.h"
#include "script/commands.h"
#include "script/commands_plot.h"
#include "script/evaluation.h"
#include "script/files.h"
#include "script/flags.h"
#include "ui/about.h"
#include "ui/matrixprint.h"
#include "log/trace.h"

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

// Commands the interpreter runs itself that the command table leaves out.
const char* const kUnlistedCommands[] = {"aElemOrderSet", "aAbout"};

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

    // ---- the interpreter's own commands ----
    bool tooLargeToShow(const CommandLine& cmd, const std::string& echoPart, const Evaluated& v,
                        const char* note);
    std::string valueText(const Evaluated& v) const;
    std::string showMatrix(const Evaluated& v) const;
    long long command(long long j, const std::vector<std::string_view>& lines, std::size_t index,
                      const std::string& line);
    void evaluateCommand(const CommandLine& cmd, const std::string& expr, const std::string& note,
                         const std::string& outputFile);
    void storeExpression(const CommandLine& cmd);
    void show(const CommandLine& cmd, const std::string& name);
    long long dimX(const CommandLine& cmd, const std::vector<std::string_view>& lines,
                   std::size_t index);

    ScriptOptions options_;
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

std::string ScriptRun::showMatrix(const Evaluated& v) const {
    std::string text = v.cols == 1 ? vectorLabel_ : matrixLabel_;
    for (int r = 0; r < v.rows; ++r) {
        for (int c = 0; c < v.cols; ++c) {
            const double e = v.elements[static_cast<std::size_t>(r) * static_cast<std::size_t>(v.cols) +
                                       static_cast<std::size_t>(c)];
            if (v.cols == 1) {
                text += "vE(" + std::to_string(r + 1) + ")=" + number(e) + "\t";
            } else {
                text += "mA(" + std::to_string(r + 1) + "," + std::to_string(c + 1) + ")=" +
                        number(e) + "\t";
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

void ScriptRun::evaluateCommand(const CommandLine& cmd, const std::string& expr,
                                const std::string& note, const std::string& outputFile) {
    const std::string echoPart = ": " + upperAscii(cmd.typed) + " = " + expr + ": " + note + "\r\n";
    const Evaluated v = evaluateFormula(expr);
    if (v.error != ErrorCode::None) {
        failure(cmd, echoPart, v.error);
        return;
    }
    if (tooLargeToShow(cmd, echoPart, v, "")) return;
    std::string result;
    if (cmd.name == "hex" && !v.isMatrix) {
        result = numberLabel_ + " &" + hexDigits(integerBits(v.number));
    } else if (cmd.name == "bin" && !v.isMatrix) {
        result = numberLabel_ + " !" + binaryDigits(integerBits(v.number));
    } else {
        result = valueText(v);
    }
    success(cmd, echoPart, resultPrefix_, result);
    writeOutput(outputFile, result);
}

void ScriptRun::storeExpression(const CommandLine& cmd) {
    const std::string echoPart = ": " + upperAscii(cmd.typed) + " = " + cmd.arg + ": " +
                                 blankFileNote() + "\r\n";
    const std::string target = trimmed(cmd.params.substr(0, cmd.params.find(';')));
    if (target.empty()) {
        failReplacing(ErrorCode::InvalidArgument, "sEval", "StoExpr without a name: " + cmd.arg);
        failure(cmd, echoPart, ErrorCode::InvalidArgument);
        return;
    }
    const Evaluated v = evaluateFormula(cmd.arg);
    if (v.error != ErrorCode::None) {
        failure(cmd, echoPart, v.error);
        return;
    }
    if (v.isMatrix) {
        if (!storeMatrixResult(target, v)) {
            failure(cmd, echoPart,
                    eError() == ErrorCode::None ? ErrorCode::InvalidArgument : eError());
            return;
        }
        if (tooLargeToShow(cmd, echoPart, v, " (it is stored)")) return;
        success(cmd, echoPart, resultPrefix_, valueText(v));
        return;
    }
    const std::string text = number(v.number);
    SetVarFunct(target, text, ListKind::Vars);
    success(cmd, echoPart, resultPrefix_, "Number " + target + " = " + text);
}

void ScriptRun::show(const CommandLine& cmd, const std::string& nameIn) {
    const std::string name = trimmed(nameIn);
    const std::string key = lowerAscii(name);
    const std::string echoPart = ": Show(" + name + ")";
    double value = 0;
    if (const VarEntry* var = findVarEntry(ListKind::Vars, key)) {
        success(cmd, echoPart, " => ", "Number " + name + " = " + number(var->number));
        return;
    }
    if (const VarEntry* fn = findVarEntry(ListKind::Functs, key)) {
        success(cmd, echoPart, " => ", "Function " + name + " = " + fn->value);
        return;
    }
    if (e_get_const(key, &value) == 1) {
        success(cmd, echoPart, " => ", "Constant " + name + " = " + number(value));
        return;
    }
    const Evaluated m = findMatrixForShow(name);
    if (m.error == ErrorCode::None) {
        if (!tooLargeToShow(cmd, echoPart, m, "")) success(cmd, echoPart, " => ", showMatrix(m));
        return;
    }
    failReplacing(ErrorCode::MatrixNotFound, "sEval", "Matr Name: " + name);
    failure(cmd, echoPart, eError());
}

long long ScriptRun::dimX(const CommandLine& cmd, const std::vector<std::string_view>& lines,
                          std::size_t index) {
    // The matrix of a DimX line: "name(rows,cols) ; label = value ; ...".
    struct Head {
        std::string name;
        std::string rows, cols;
        std::string fields;
    };
    auto parse = [](const std::string& arg, Head& h) {
        const std::size_t firstField = arg.find(';');
        const std::string head = arg.substr(0, firstField);
        const std::size_t open = head.find('(');
        const std::size_t close = head.find(')', open == std::string::npos ? 0 : open);
        h.name = trimmed(head.substr(0, std::min(open, head.size())));
        if (h.name.empty() || h.name.front() != '[') h.name = "[" + h.name;
        if (h.name.back() != ']') h.name += "]";
        h.rows.clear();
        h.cols.clear();
        if (open != std::string::npos && close != std::string::npos && close > open) {
            const std::string dims = head.substr(open + 1, close - open - 1);
            const std::size_t comma = dims.find(',');
            h.rows = trimmed(dims.substr(0, comma));
            h.cols = comma == std::string::npos ? std::string() : trimmed(dims.substr(comma + 1));
        }
        h.fields.clear();
        if (firstField == std::string::npos) return;
        std::size_t start = firstField + 1;
        for (;;) {
            const std::size_t end = arg.find(';', start);
            const std::string field =
                arg.substr(start, end == std::string::npos ? std::string::npos : end - start);
            const std::size_t eq = field.find('=');
            const std::string value = trimmed(eq == std::string::npos ? field : field.substr(eq + 1));
            if (!value.empty()) h.fields += value + ";";
            if (end == std::string::npos) break;
            start = end + 1;
        }
    };

    Head head;
    parse(cmd.raw, head);
    std::string definition = head.name + ";" + head.rows + ";" + head.cols + ";" + head.fields;
    long long consumed = 0;
    for (std::size_t k = index + 1; k + 1 < lines.size(); ++k) {
        const std::string next = cutComment(cleanLine(lines[k]));
        if (lowerAscii(next.substr(0, 4)) != "dimx") break;
        const std::size_t eq = next.find('=');
        if (eq == std::string::npos) break;
        Head more;
        parse(trimmed(next.substr(eq + 1)), more);
        if (lowerAscii(more.name) != lowerAscii(head.name)) break;  // another matrix: a new block
        definition += more.fields;
        ++consumed;
    }
    if (!storeMatrixDefinition(definition, true))
        failure(cmd, ": Expression = " + definition + ":\r\n", eError());
    return consumed;
}

long long ScriptRun::command(long long j, const std::vector<std::string_view>& lines,
                             std::size_t index, const std::string& lineIn) {
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
            cmd.params = before.substr(open + 1, (close == std::string::npos ? before.size() : close) - open - 1);
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
        return 0;  // neither "=" nor "(": not a command
    }
    cmd.typed = trimmed(name);
    cmd.name = lowerAscii(cmd.typed);
    cmd.raw = trimmed(line.substr(argStart));
    cmd.arg = trimmed(withoutQuotes(cmd.raw));
    const std::string& arg = cmd.arg;

    ++commands_;
    if (options_.progress)
        platform::progress(static_cast<int>(std::min<long long>(j, INT_MAX)),
                           static_cast<int>(std::min<std::size_t>(lines.size() - 1, INT_MAX)), true,
                           line);
    const std::string& c = cmd.name;
    // The echo of the memory commands, built only when one needs it.
    const auto expressionEcho = [&arg] { return ": Expression = " + arg + ": " + blankFileNote() + "\r\n"; };

    if (c == "expr" || c == "hex" || c == "bin") {
        evaluateCommand(cmd, arg, blankFileNote(), "");
    } else if (c == "exprf") {
        const FileForm f = fileForm(arg);
        std::string text;
        if (readInput(cmd, ": EXPRF = " + arg + ": " + f.note + "\r\n", f.input, text))
            evaluateCommand(cmd, text, f.note, f.output);
    } else if (c == "stoexpr") {
        storeExpression(cmd);
    } else if (c == "var") {
        const std::size_t semi = arg.find(';');
        if (semi == std::string::npos || trimmed(arg.substr(0, semi)).empty()) {
            failReplacing(ErrorCode::InvalidArgument, "sEval", "Var needs name ; value: " + arg);
            failure(cmd, expressionEcho(), ErrorCode::InvalidArgument);
        } else {
            // "," is the decimal point here as in formulas: 2,5 is two and a half.
            std::string value = trimmed(arg.substr(semi + 1));
            std::replace(value.begin(), value.end(), ',', '.');
            SetVarFunct(trimmed(arg.substr(0, semi)), value, ListKind::Vars);
        }
    } else if (c == "funct" || c == "functf") {
        std::string text = arg;
        if (c == "functf" && !readInput(cmd, expressionEcho(), fileForm(arg).input, text)) return 0;
        const std::size_t semi = text.find(';');
        const std::string fname = trimmed(text.substr(0, semi));
        const std::string formula = semi == std::string::npos ? std::string() : trimmed(text.substr(semi + 1));
        if (fname.empty() || formula.empty()) {
            failReplacing(ErrorCode::InvalidArgument, "sEval",
                          "Funct needs name ; formula: " + text);
            failure(cmd, expressionEcho(), ErrorCode::InvalidArgument);
        } else {
            SetVarFunct(fname, formula, ListKind::Functs);
        }
    } else if (c == "matr" || c == "vect" || c == "matrf" || c == "vectf") {
        std::string text = arg;
        if (c.back() == 'f' && !readInput(cmd, expressionEcho(), fileForm(arg).input, text)) return 0;
        if (!storeMatrixDefinition(text, false))
            failure(cmd, ": Expression = " + text + ": " + blankFileNote() + "\r\n", eError());
    } else if (c == "dimx") {
        return dimX(cmd, lines, index);
    } else if (c == "show") {
        show(cmd, cmd.params.empty() ? arg : cmd.params);
    } else if (c == "aelemorderset") {
        const double order = DecValue(arg);
        if (zrt::aElemOrderSet(order == 0   ? 0
                               : order == 1 ? 1
                                            : -1) != codeNumber(MatrixStatus::Ok)) {
            failReplacing(ErrorCode::InvalidArgument, "sEval", "aElemOrderSet = " + arg);
            failure(cmd, ": AELEMORDERSET = " + arg + ": " + blankFileNote() + "\r\n",
                    ErrorCode::InvalidArgument);
        }
    } else if (c == "aelemorderex") {
        double probe[4] = {1, 2, 3, 4};
        const int order = zrt::aElemOrder(probe);
        if (!options_.quiet)
            out_ += echo(j, ": aElemOrderEx = " + std::string(order == 0 ? "by Row" : "by Col") + "\r\n\r\n");
    } else if (c == "debug") {
        SetDebugF(DecValue(arg) != 0 ? 4 : 1);
    } else if (c == "errormsgs") {
        ShowMsgs(DecValue(arg) != 0 ? 1 : 0);
    } else if (c == "pause") {
        // Counted as a command; nothing else.
    } else if (c == "aabout") {
        out_ += PluginInfoText(true);
    } else if (const CommandHandler handler = findCommand(c)) {
        handler(cmd, *this);
    } else {
        setEError(ErrorCode::UndefinedCommand);
        failure(cmd, ": " + upperAscii(cmd.typed) + " = " + arg + ": " + blankFileNote() + "\r\n",
                ErrorCode::UndefinedCommand);
    }
    return 0;
}

ScriptResult ScriptRun::run(std::string_view script) {
    startPlotRun();
    std::string text(script);
    text += "\r\n";
    const std::vector<std::string_view> lines = splitLines(text);
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
        index += static_cast<std::size_t>(command(j, lines, index, line));
    }
    if (options_.progress) platform::progress(0, 0, false, "");
    while (out_.size() >= 2 && out_.compare(out_.size() - 2, 2, "\r\n") == 0) out_.resize(out_.size() - 2);
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

bool scriptRunning() { return interpreterState().runs > 0; }

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

const CommandInfo* commandTable() { return kCommands; }

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
    for (const char* name : kUnlistedCommands) add(name);
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

int lastSDiffStatus() { return interpreterState().lastSDiffStatus; }

void setLastSDiffStatus(int code) { interpreterState().lastSDiffStatus = code; }

void resetInterpreter() {
    const int runs = interpreterState().runs;
    interpreterState() = InterpreterState{};
    interpreterState().runs = runs;
}

}  // namespace zrt
