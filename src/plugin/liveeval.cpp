#include "plugin/liveeval.h"

#include <algorithm>
#include <vector>

#include "base/text16.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "platform/platform.h"
#include "plugin/editor.h"
#include "plugin/settings.h"
#include "plugin/state.h"
#include "script/flags.h"
#include "script/interpreter.h"

namespace zrt {

namespace {

using platform::WindowHandle;

// A status-bar matrix shows at most this many elements.
constexpr int kStatusMatrixElements = 12;
// UTF-8 needs at most four bytes a character: longer byte counts need no reading.
constexpr std::intptr_t kBytesPerChar = 4;

std::intptr_t send(WindowHandle view, unsigned message, std::uintptr_t wParam = 0,
                   std::intptr_t lParam = 0) {
    return platform::sendMessage(view, message, wParam, lParam);
}

std::size_t charCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// One "=" line or one status-bar look at a time; none while a script or a
// formula runs (a run's progress window lets the editor's messages through).
class BusyScope {
   public:
    BusyScope() : acquired_(!pluginState().liveBusy && !scriptRunning() && !evaluationActive()) {
        if (acquired_) pluginState().liveBusy = true;
    }
    ~BusyScope() {
        if (acquired_) pluginState().liveBusy = false;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    bool acquired() const { return acquired_; }

   private:
    bool acquired_;
};

// The first script keyword in the text (a plain substring search in table
// order, as the menu commands look for one), or -1.
int keywordIndex(std::string_view text) {
    const std::string lower = lowerAscii(text);
    const CommandInfo* commands = commandTable();
    for (int k = 0; k <= kLastCommandIndex && k < kCommandCount; ++k)
        if (lower.find(lowerAscii(commands[k].name)) != std::string::npos) return k;
    return -1;
}

// "===> ERROR n. = 8: Division by zero   (Module: eval)" -> "Error 8: Division by zero".
std::string errorFromOutput(const std::string& output) {
    static const std::string kMark = "===> ERROR n. = ";
    const std::size_t at = output.find(kMark);
    if (at == std::string::npos) return "Error";
    std::string line = output.substr(at + kMark.size());
    line = line.substr(0, line.find("\r\n"));
    line = line.substr(0, line.find("(Module:"));
    return "Error " + std::string(trimBlanks(line));
}

// The value of a one-line bare result: " 5", " &FF", "Number y = 6",
// " Integral iFunction(0,1) =>  0.3333", "f'(x) => 3*x^2".
std::string valueFromResultLine(std::string line) {
    const std::size_t arrow = line.rfind("=>");
    if (arrow != std::string::npos) line.erase(0, arrow + 2);
    line = std::string(trimBlanks(line));
    const std::size_t equal = line.find(" = ");
    if (line.rfind("Number ", 0) == 0 && equal != std::string::npos) line.erase(0, equal + 3);
    return std::string(trimBlanks(line));
}

std::string withoutTabs(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\t' ? std::string("  ") : std::string(1, c);
    return out;
}

std::string matrixStatusText(const PeekedValue& v, int decimals) {
    std::string text = "[";
    const int shown = std::min(v.rows * v.cols, kStatusMatrixElements);
    for (int i = 0; i < shown; ++i) {
        if (i > 0) text += i % v.cols == 0 ? "; " : " ";
        text += formatValue(v.elements[static_cast<std::size_t>(i)], decimals);
    }
    if (shown < v.rows * v.cols) text += " ...";
    return text + "]";
}

// ---- "=" then Enter ----

std::string lineBytes(WindowHandle view, std::intptr_t line) {
    const std::intptr_t length = send(view, npp::SCI_LINELENGTH, static_cast<std::uintptr_t>(line));
    if (length <= 0 || length > static_cast<std::intptr_t>(kMaxEqualLineChars) * kBytesPerChar + 2)
        return {};
    // SCI_GETLINE writes no terminating zero: the zeroed buffer has it.
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    send(view, npp::SCI_GETLINE, static_cast<std::uintptr_t>(line),
         reinterpret_cast<std::intptr_t>(buffer.data()));
    std::string bytes(buffer.data());
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.pop_back();
    return bytes;
}

void showTipIn(WindowHandle view, std::intptr_t position, const std::string& tip) {
    showCallTip(view, position, tip);
}

void charAdded(WindowHandle view, int ch) {
    // Enter ends a line with the document's line end; its last character
    // comes last (CR LF notifies twice).
    const int last = send(view, npp::SCI_GETEOLMODE) == 1 ? '\r' : '\n';
    if (ch != last) return;
    BusyScope busy;
    if (!busy.acquired()) return;
    const std::intptr_t caret = send(view, npp::SCI_GETCURRENTPOS);
    const std::intptr_t line =
        send(view, npp::SCI_LINEFROMPOSITION, static_cast<std::uintptr_t>(caret)) - 1;
    if (line < 0) return;
    const std::string bytes = lineBytes(view, line);
    const std::size_t end = bytes.find_last_not_of(" \t");
    if (end == std::string::npos || bytes[end] != '=') return;
    const std::string before = fromDocument(view, bytes.substr(0, end));
    // An "=" inside a comment is no request; a long line is left alone.
    if (before.find('\'') != std::string::npos || charCount(before) >= kMaxEqualLineChars) return;

    const EqualLineResult result = evaluateEqualLine(before);
    const std::intptr_t equalPos =
        send(view, npp::SCI_POSITIONFROMLINE, static_cast<std::uintptr_t>(line)) +
        static_cast<std::intptr_t>(end);
    if (!result.insert.empty()) {
        const std::string text = toDocument(view, result.insert);
        // One undo step takes the value out again; the caret moves along.
        send(view, npp::SCI_BEGINUNDOACTION);
        send(view, npp::SCI_INSERTTEXT, static_cast<std::uintptr_t>(equalPos + 1),
             reinterpret_cast<std::intptr_t>(text.c_str()));
        send(view, npp::SCI_ENDUNDOACTION);
    } else if (!result.tip.empty()) {
        showTipIn(view, equalPos, result.tip);
    }
}

// ---- The selection in the status bar ----

void setStatus(const std::string& text) {
    const std::u16string wide = toUtf16(text);
    platform::sendMessage(pluginState().npp._nppHandle, npp::NPPM_SETSTATUSBAR,
                          npp::STATUSBAR_DOC_TYPE, reinterpret_cast<std::intptr_t>(wide.c_str()));
}

// Notepad++ shows the document's language there: its description, which the
// host gives for the current language type (length first).
void restoreStatus() {
    PluginState& s = pluginState();
    if (!s.statusShown) return;
    s.statusShown = false;
    const WindowHandle host = s.npp._nppHandle;
    int langType = 0;
    platform::sendMessage(host, npp::NPPM_GETCURRENTLANGTYPE, 0,
                          reinterpret_cast<std::intptr_t>(&langType));
    const auto type = static_cast<std::uintptr_t>(langType);
    const std::intptr_t length = platform::sendMessage(host, npp::NPPM_GETLANGUAGEDESC, type, 0);
    std::string text;
    if (length > 0 && length < 4096) {
        std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
        platform::sendMessage(host, npp::NPPM_GETLANGUAGEDESC, type,
                              reinterpret_cast<std::intptr_t>(&buffer[0]));
        text = fromUtf16(buffer.c_str());
    }
    setStatus(text);
}

std::string selectionBytes(WindowHandle view) {
    const std::intptr_t start = send(view, npp::SCI_GETSELECTIONSTART);
    const std::intptr_t end = send(view, npp::SCI_GETSELECTIONEND);
    const std::intptr_t most = static_cast<std::intptr_t>(kMaxStatusSelectionChars) * kBytesPerChar;
    if (end <= start || end - start > most) return {};
    // With or without the terminating zero in the answer: one byte more fits both.
    const std::intptr_t length = send(view, npp::SCI_GETSELTEXT);
    if (length <= 0 || length > most + 1) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    send(view, npp::SCI_GETSELTEXT, 0, reinterpret_cast<std::intptr_t>(buffer.data()));
    return std::string(buffer.data());
}

void selectionChanged(WindowHandle view) {
    BusyScope busy;
    if (!busy.acquired()) return;
    const std::string bytes = selectionBytes(view);
    const std::string text =
        bytes.empty() ? std::string() : selectionStatusText(fromDocument(view, bytes));
    if (text.empty()) {
        restoreStatus();
        return;
    }
    setStatus(text);
    pluginState().statusShown = true;
}

}  // namespace

EqualLineResult evaluateEqualLine(std::string_view textBeforeEqual) {
    const std::string text(trimBlanks(textBeforeEqual));
    if (text.empty()) return {};
    ScriptOptions options;
    options.bare = true;
    options.quiet = true;
    // A line without a script keyword is a bare expression, as the menu commands take it.
    const ScriptResult r = sEval(keywordIndex(text) < 0 ? "Expr = " + text : text, options);
    EqualLineResult result;
    if (r.errors > 0) {
        result.insert = errorFromOutput(r.output);
        return result;
    }
    const std::string output = trimLineBreaksAndBlanks(r.output);
    if (output.empty()) return result;
    if (output.find("\r\n") != std::string::npos) {
        result.tip = withoutTabs(output);
    } else {
        result.insert = valueFromResultLine(output);
    }
    return result;
}

std::string selectionStatusText(std::string_view selection) {
    if (selection.find_first_of("\r\n") != std::string_view::npos ||
        charCount(selection) > kMaxStatusSelectionChars)
        return {};
    const std::string text(trimBlanks(removeComments(selection)));
    if (text.empty()) return {};
    std::string command = "expr";
    std::string formula = text;
    if (keywordIndex(text) >= 0) {
        // Only the value commands: a look never runs a script command.
        const std::size_t equal = text.find('=');
        if (equal == std::string::npos) return {};
        command = lowerAscii(trimBlanks(std::string_view(text).substr(0, equal)));
        if (command != "expr" && command != "hex" && command != "bin") return {};
        formula = std::string(trimBlanks(std::string_view(text).substr(equal + 1)));
    }
    if (formula.empty()) return {};
    const PeekedValue v = peekValue(formula);
    if (v.error != ErrorCode::None) return {};
    const int decimals = batchFlags().decimals;
    return "= " + (v.isMatrix ? matrixStatusText(v, decimals)
                              : commandValueText(command, v.number, decimals));
}

void liveNotification(const npp::Notification& n) {
    const PluginState& s = pluginState();
    const auto view = static_cast<WindowHandle>(n.nmhdr.hwndFrom);
    if (!view || (view != s.npp._scintillaMainHandle && view != s.npp._scintillaSecondHandle))
        return;
    if (n.nmhdr.code == npp::SCN_CHARADDED && s.evalOnEqualF) {
        charAdded(view, n.ch);
    } else if (n.nmhdr.code == npp::SCN_UPDATEUI && s.selectionInStatusF &&
               (n.updated & npp::SC_UPDATE_SELECTION)) {
        selectionChanged(view);
    }
}

bool toggleEvalOnEqual(bool checked) {
    PluginState& s = pluginState();
    s.evalOnEqualF = !checked;
    platform::messageBox(s.evalOnEqualF ? "Evaluate on = enabled." : "Evaluate on = disabled.",
                         "Quillet");
    writeSetting(kKeyEvalOnEqual, s.evalOnEqualF ? 1 : 0);
    return s.evalOnEqualF;
}

bool toggleSelectionInStatus(bool checked) {
    PluginState& s = pluginState();
    s.selectionInStatusF = !checked;
    if (!s.selectionInStatusF) restoreStatus();
    platform::messageBox(s.selectionInStatusF ? "Selection in status bar enabled."
                                              : "Selection in status bar disabled.",
                         "Quillet");
    writeSetting(kKeySelectionInStatus, s.selectionInStatusF ? 1 : 0);
    return s.selectionInStatusF;
}

}  // namespace zrt
