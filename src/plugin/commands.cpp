#include "plugin/commands.h"

#include <filesystem>

#include "base/barrier.h"
#include "base/limits.h"
#include "base/text16.h"
#include "base/errors.h"
#include "base/numtext.h"
#include "platform/platform.h"
#include "plugin/editor.h"
#include "plugin/nppinterface.h"
#include "plugin/settings.h"
#include "plugin/state.h"
#include "script/batch_state.h"
#include "script/batchrun.h"
#include "script/driver.h"
#include "script/flags.h"
#include "script/interpreter.h"
#include "platform/paths.h"
#include "ui/about.h"
#include "log/pluginlog.h"

namespace zrt {

namespace {

constexpr const char* kFileDialogTitle = "Open File";
constexpr const char* kFileDialogFilter = "Text (*.txt)|*.txt|All files (*.*)|*.*";

void logEntry(const char* proc, const char* title) {
    pluginLog(proc, std::string(": ***** Menu: ") + title + " *****");
}

std::string cleaned(std::string_view text) {
    return trimLineBreaksAndBlanks(text);
}

// Runs one parameter line; the cleaned result stays in the plug-in state.
int runDriver(const std::string& line, bool toolTipMode) {
    BatchFlags& f = batchFlags();
    // The quiet flag and the clipboard flag of the flags record outlive the
    // run that set them: a switched-off Hide Expr Line must take effect, and
    // a tool-tip run must not put its result on the clipboard.
    f.noLnExpF = false;
    f.quietParam.clear();
    if (toolTipMode) f.SaveToClpBF = false;
    batchRun().iniPath = pluginState().iniPath;
    const int exitCode = zrtEvalMain(line);
    pluginState().lastResult = cleaned(zrtResStr());
    return exitCode;
}

// Notepad++ then shows the output: reloaded when it is open, opened when not.
// The reload asks first only when the open result file holds changes the
// user made: asked without need, a "No" leaves the old text, and Notepad++
// then reports a file changed by another program.
void showResultFile(const std::string& document) {
    const std::string result = folderOf(document) + "Result.zrt";
    const std::u16string path = toUtf16(result);
    const platform::WindowHandle host = pluginState().npp._nppHandle;
    const bool alert = hasUnsavedChanges(result);
    platform::sendMessage(host, npp::NPPM_RELOADFILE, alert ? 1 : 0,
                          reinterpret_cast<std::intptr_t>(path.c_str()));
    pluginLog("showResultFile", std::string(": Reload alert = ") + (alert ? "1" : "0"));
    platform::sendMessage(host, npp::NPPM_DOOPEN, 0, reinterpret_cast<std::intptr_t>(path.c_str()));
    pluginLog("showResultFile", ": Result File = " + result);
}

// A path travels in the parameter line with "\" only ("/" starts a parameter).
std::string parameterPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Notepad++ cannot catch what leaves a command of this library.
template <class F>
void menuCommand(F&& body) noexcept {
    barrierVoid("Menu command", body);
}

int runWindowCommand(bool toolTipMode, bool currentLine) {
    PluginState& s = pluginState();
    const char* proc = currentLine ? "zrtE_CurLineToWnd" : "zrtE_SelTextToWnd";
    logEntry(proc, currentLine ? "EVAL CURLINE TO WND" : "EVAL SELTEXT TO WND");
    const std::string text = removeComments(currentLine ? getCurrentLineText() : getSelection());
    int button = kBtnNothing;
    const std::string expression = CheckExpressionS(
        text,
        currentLine ? "Eval CurLine To Wnd: Expression = " : "Eval SelText To Wnd: Expression = ",
        &button, toolTipMode);
    if (toolTipMode) s.tipExpr = expression;
    if (button == kBtnNothing || button == kBtnNo) {
        pluginLogEnd(proc);
        return 0;
    }
    // Resting the mouse must not replace what the user copied: no "/sclp" then.
    const std::string line = std::string(toolTipMode ? " /noh /log " : " /noh /sclp /log ") +
                             s.nlnParam + (currentLine ? s.ntParam : "") + " /sel:'" + expression +
                             "' /";
    const int exitCode = runDriver(line, toolTipMode);
    if (toolTipMode) {
        s.tipEvaluated = true;
        pluginLogEnd(proc);
        return currentLine ? 2 : 1;
    }
    if (button == kBtnYes && !s.lastResult.empty()) InsertResult(s.lastResult, true);
    pluginLog(proc,
              ": btnRet = " + std::to_string(button) + ", ExitCode = " + std::to_string(exitCode));
    pluginLog(proc, ": zrtResStr = '" + s.lastResult + "'");
    pluginLogEnd(proc);
    return 0;
}

void runFileCommand(bool wholeFile) {
    const char* proc = wholeFile ? "zrtE_CurFile" : "zrtE_CurLineToFile";
    logEntry(proc, wholeFile ? "EVAL CURFILE TO FILE" : "EVAL CURLINE TO FILE");
    const std::string path = getFileName();
    std::string line = "/i " + parameterPath(path);
    if (wholeFile) {
        line += " /o /log /pbar";
    } else {
        line += " /a /lns:" + std::to_string(getCurLineNr(false)) + " /lc:0 /noh";
    }
    const std::string folder = folderOf(path);
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::current_path(osPath(folder), ec);
    }
    const int exitCode = runDriver(line, false);
    pluginLog(proc, ": FileName = " + path);
    // A document the driver could not read (a new, unsaved one) has no result file.
    if (exitCode == kExitCompleted) showResultFile(path);
    pluginLog(proc, ": ExitCode = " + std::to_string(exitCode));
    pluginLogEnd(proc);
}

// The evaluator's number syntax: digits with one decimal point or comma and
// an optional exponent; blanks around are allowed.
bool numericText(std::string_view text, int& value) {
    text = trimBlanks(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digitsStart = i;
    long long whole = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (whole < 1000000) whole = whole * 10 + (text[i] - '0');
        ++i;
    }
    std::size_t digits = i - digitsStart;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        const std::size_t fraction = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        digits += i - fraction;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exponent = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        if (i == exponent) return false;
        // An exponent makes the integer value a matter of the number itself.
        const double v = DecValue(text);
        if (!(v > -1e9 && v < 1e9)) return false;
        whole = static_cast<long long>(v < 0 ? -v : v);
    }
    if (i != text.size()) return false;
    value = static_cast<int>(text[0] == '-' ? -whole : whole);
    return true;
}

}  // namespace

std::string CheckExpressionS(const std::string& input, const std::string& caption, int* button,
                             bool toolTipMode) {
    PluginState& s = pluginState();
    std::string expression = cleaned(input);
    s.cmdIndex = 0;
    int result = kBtnNothing;
    if (expression.empty()) {
        // Resting the mouse on an empty line is no mistake worth a box.
        if (!toolTipMode) platform::messageBox("No Expression found!", "Quillet");
    } else {
        const int found = commandIn(expression);
        const int kind = found >= 0 ? commandTable()[found].type : 1;
        const char* prompt = kind == 2   ? "Press: Yes to Load Expression in Memory\r\n"
                             : kind == 3 ? "Press: Yes to Execute Command\r\n"
                                         : "Press: Yes to Evaluate Expression\r\n";
        if (found >= 0) s.cmdIndex = found;
        const std::string dialog = caption + "\r\n\r\n" + expression + "\r\n\r\n" + prompt +
                                   "           No to abort operation";
        result = toolTipMode || s.noConfirmF
                     ? kBtnYes
                     : platform::messageBox(dialog, "Quillet", platform::Buttons::YesNo,
                                            platform::Icon::Question);
        if (result == kBtnYes && found < 0) {
            // A bare expression is evaluated as an Expr command.
            expression = "Expr = " + expression;
            s.cmdIndex = kExprCommandIndex;
        }
    }
    pluginLog("CheckExpressionS", ": Expr IN = '" + input + "'");
    pluginLog("CheckExpressionS", ": lExpr OUT = '" + expression + "'");
    pluginLog("CheckExpressionS", ": btnRet = " + std::to_string(result));
    if (button) *button = result;
    return expression;
}

int zrtE_CurLineToWnd(bool toolTipMode) {
    return runWindowCommand(toolTipMode, true);
}

int zrtE_SelTextToWnd(bool toolTipMode) {
    return runWindowCommand(toolTipMode, false);
}

void zrtE_CurLineToWndMnu() noexcept {
    menuCommand([] {
        pluginLog("zrtE_CurLineToWndMnu", ": START ");
        zrtE_CurLineToWnd(false);
    });
}

void zrtE_SelTextToWndMnu() noexcept {
    menuCommand([] {
        pluginLog("zrtE_SelTextToWndMnu", ": START ");
        zrtE_SelTextToWnd(false);
    });
}

void zrtE_Expr() noexcept {
    menuCommand([] {
        PluginState& s = pluginState();
        const char* proc = "zrtE_Expr";
        logEntry(proc, "EVAL EXPRESSION TO WND");
        bool stopped = false;
        const std::string expression = cleaned(removeComments(getExpression(&stopped)));
        // Nothing to evaluate is said even without confirmation.
        if (expression.empty()) {
            platform::messageBox(stopped ? "No Expression found: no script keyword in the "
                                           "text searched before the caret!"
                                         : "No Expression found!",
                                 "Quillet Plugin");
            pluginLogEnd(proc);
            return;
        }
        int button = kBtnYes;
        if (!s.noConfirmF) {
            button =
                platform::messageBox("Eval Expr: Expression = \r\n\r\n'" + expression + "'",
                                     "Quillet", platform::Buttons::YesNo, platform::Icon::Question);
            if (button != kBtnYes) {
                pluginLogEnd(proc);
                return;
            }
        }
        const int exitCode =
            runDriver(" /a /noh /sclp /log " + s.nlnParam + " /sel:'" + expression + "' /", false);
        if (button == kBtnYes && !s.lastResult.empty()) InsertResult(s.lastResult, true);
        pluginLog(proc, ": btnRet = " + std::to_string(button) +
                            ", ExitCode = " + std::to_string(exitCode));
        pluginLog(proc, ": zrtResStr = '" + s.lastResult + "'");
        pluginLogEnd(proc);
    });
}

void zrtE_CurFile() noexcept {
    menuCommand([] { runFileCommand(true); });
}

void zrtE_CurLineToFile() noexcept {
    menuCommand([] { runFileCommand(false); });
}

void zrtE_ShowMem() noexcept {
    menuCommand([] {
        logEntry("zrtE_ShowMem", "SHOW MEMORY");
        const int exitCode = runDriver(" /sm ", false);
        pluginLog("zrtE_ShowMem", ": lHandle = " + std::to_string(exitCode));
        pluginLogEnd("zrtE_ShowMem");
    });
}

void zrtE_InsertFileName() noexcept {
    menuCommand([] {
        pluginLog("zrtE_InsertFileName", ": START");
        const std::string name = platform::openFileDialog(kFileDialogTitle, kFileDialogFilter);
        if (name.empty()) {
            platform::messageBox("Error 1: Operation cancelled by user.", "Quillet",
                                 platform::Buttons::Ok, platform::Icon::Exclamation);
        } else {
            InsertResult(name, false);
        }
        pluginLogEnd("zrtE_InsertFileName");
    });
}

void zrtE_About() noexcept {
    menuCommand([] {
        logEntry("zrtE_About", "ABOUT");
        const int exitCode = aboutDisplay();
        pluginLog("zrtE_About", ": ExitCode = " + std::to_string(exitCode));
        pluginLogEnd("zrtE_About");
    });
}

void decimalsDialog() {
    BatchFlags& f = batchFlags();
    std::string answer;
    if (!platform::inputBox("Input number of decimals for results:", "Quillet Input",
                            std::to_string(f.decimals), answer))
        return;
    int value = 0;
    if (numericText(answer, value) && value >= 0 && value <= kMaxDecimals) {
        f.decimals = value;
    } else {
        platform::messageBox("Invalid number", "Quillet Error", platform::Buttons::Ok,
                             platform::Icon::Error);
    }
    writeSetting(kKeyDecimals, f.decimals);
}

}  // namespace zrt
