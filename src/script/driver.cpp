#include "script/driver.h"

#include <filesystem>
#include <system_error>

#include "base/text16.h"
#include "base/numtext.h"
#include "platform/platform.h"
#include "script/batch_state.h"
#include "script/batchrun.h"
#include "script/files.h"
#include "script/flags.h"
#include "script/interpreter.h"
#include "platform/paths.h"
#include "script/runlog.h"
#include "script/screens.h"
#include "log/pluginlog.h"
#include "log/version.h"

namespace zrt {

namespace {

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

// Scripts from the editor may use "\n" or "\r" alone; lines end in "\r\n" here.
std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

void writeRunHeader(const BatchFlags& f) {
    const BatchRun& run = batchRun();
    runLog("BatchRun      : Time " + runTimeStamp());
    runLog("INI File      : " + inQuotes(run.iniPath));
    runLog("Log File      : " + inQuotes(f.logFileN));
    runLog("Command Line  : " + inQuotes(run.commandLine));
    runLog("Input File    : " + inQuotes(f.InpFN));
    runLog("Output File   : " + inQuotes(f.OutpFN));
    runLog("Save Plot Path: " + inQuotes(f.splPath));
    runLog("Current Folder: " + inQuotes(folderOf(f.InpFN)));
}

// Removes one enclosing pair of "'" around a selection.
std::string unquoted(std::string text) {
    if (!text.empty() && text.front() == '\'') text.erase(0, 1);
    if (!text.empty() && text.back() == '\'') text.pop_back();
    return text;
}

std::string trimmedText(const std::string& text) {
    return TrimStr(std::string(trimBlanks(TrimStr(text, "\r\n", false))), "\r\n", false);
}

// Deletes the pictures an earlier run saved in the plot folder (only those).
void deleteSavedPlots(const std::string& folder) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(osPath(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().u8string();
        if (name.rfind("aPlotNr_", 0) == 0 && name.size() > 4 &&
            lowerAscii(name.substr(name.size() - 4)) == ".jpg")
            std::filesystem::remove(it->path(), ec);
    }
}

// A clipboard the platform could not reach is said (a console without a
// clipboard tool); true when that happened.
bool noClipboard() {
    const std::string fault = platform::clipboardFault();
    if (fault.empty()) return false;
    runLog("Clipboard     : " + fault);
    platform::messageBox("Error : " + fault + ".", "Quillet", platform::Buttons::Ok,
                         platform::Icon::Error);
    return true;
}

// The interpreter run with header: leaves the output in the script text.
void runWithHeader(BatchFlags& f) {
    BatchRun& run = batchRun();
    ScriptOptions options;
    options.bare = f.bareF;
    options.lineSelection = f.lnsF;
    options.lineCorrection = f.lineCorrection;
    options.selectedLines = f.LnsStr;
    options.progress = f.progressF;
    options.quiet = f.noLnExpF;
    options.savePlots = f.splF;
    const ScriptResult r = sEval(run.scriptText, options);

    std::string output;
    if (!f.NoHF) {
        output += "'Incorporates library Zerith.dll - rel. " + headerVersion() + "\r\n";
        output += "'" + std::string(84, '-') + "\r\n";
        output += "'BatchRun : Time " + runTimeStamp() + "\r\n";
        output += "'Input file: " + f.InpFN + "\r\n";
        output += "'Executed Commands: " + std::to_string(r.commands) +
                  ", Errors found: " + std::to_string(r.errors) + "\r\n";
        output += "'" + std::string(84, '*') + "\r\n";
    }
    output += r.output;
    if (output.size() < 2 || output.compare(output.size() - 2, 2, "\r\n") != 0) output += "\r\n";
    run.exitCode = kExitCompleted;
    run.commandCount = r.commands;
    run.errorCount = r.errors;
    runLog("Eval Executed : Commands: " + std::to_string(r.commands) +
           ", Errors: " + std::to_string(r.errors));
    run.scriptText = std::move(output);
}

}  // namespace

// The plug-in folder: the module's folder + "Quillet\" where such a folder
// exists (the old layout with the DLL in plugins\), else the module's own
// folder (today's plugins\Quillet\Quillet.dll).
std::string pluginFolder() {
    const std::string module = folderOf(platform::modulePath());
    const std::string sub = withFinalSeparator(module) + "Quillet" + kSeparator;
    if (isFolder(sub)) return sub;
    return withFinalSeparator(module);
}

std::string headerVersion() { return libraryFileVersion(); }

int saveOutputToFile() {
    BatchRun& run = batchRun();
    const BatchFlags& f = batchFlags();
    std::string end = "'--- End Of BatchRun : Time " + runTimeStamp() +
                      " - (Execution Time: " + std::to_string(run.executionMs) + " ms)";
    if (end.size() < 84) end.append(84 - end.size(), '-');
    run.scriptText += end + "\r\n";
    const int code = LoadSaveFile(FileMode::WriteOutput);
    if (code == kExitCompleted) run.outputWritten = true;
    runLog("SaveToFile    : " + inQuotes(f.OutpFN));
    return code;
}

int zrtEvalMain(std::string_view parameterLine) {
    BatchRun& run = batchRun();
    BatchFlags& f = batchFlags();
    run.runMode = 2;
    run.exitCode = kExitCompleted;
    setZrtResStr({});
    run.outputWritten = false;
    run.commandCount = run.errorCount = 0;
    pluginLog("zrtEvalMain", ": CmdLine = '" + std::string(parameterLine) + "'");
    run.commandLine.assign(parameterLine);
    ParseCmdLine(parameterLine);

    // Screens are requests of this run: once shown they are done.
    if (f.helpF) {
        f.helpF = false;
        platform::showTextScreen(helpText());
        return run.exitCode;
    }
    if (f.showFlagsF) {
        f.showFlagsF = false;
        platform::showTextScreen(flagsDump());
    }
    if (f.aboutF) {
        f.aboutF = false;
        platform::showTextScreen(aboutScreen());
    }

    if (f.CurDir.empty()) f.CurDir = pluginFolder();
    if (f.logF) {
        f.logFileN = f.logFileN.empty() ? withFinalSeparator(f.CurDir) + "zrtCmds.log"
                                        : completeName(f.logFileN, f.CurDir);
    }
    f.InpFN = nativeName(completeName(f.InpFN, f.CurDir));
    f.OutpFN = nativeName(completeName(f.OutpFN, f.CurDir));
    f.logFileN = nativeName(f.logFileN);

    if (!f.splPath.empty() && f.splPath != "0" && f.splPath != "-1") {
        f.splPath = nativeName(folderOf(withFinalSeparator(f.splPath)));
    } else {
        f.splPath = "0";
    }

    if (!f.InpFN.empty() && isFolder(folderOf(f.InpFN))) {
        std::error_code ec;
        std::filesystem::current_path(osPath(folderOf(f.InpFN)), ec);
    }
    run.hostPath = platform::programPath();

    if (run.firstRun || (f.outputF && !f.AppendF)) {
        writeRunHeader(f);
        run.firstRun = false;
    }

    if (f.showMemF || f.showLogF || f.showCmdsF) {
        if (f.showMemF) platform::showTextScreen(memoryScreen());
        if (f.showLogF) {
            const std::string text = logScreen();
            if (!text.empty()) platform::showTextScreen(text);
        }
        if (f.showCmdsF) {
            const std::string text = commandsScreen();
            if (!text.empty()) platform::showTextScreen(text);
        }
        f.showMemF = f.showLogF = f.showCmdsF = false;
        return run.exitCode;
    }

    bool fromFile = false;
    if (f.inputF && !f.getFromClpF && !f.getFromSelTextF) {
        runLog("LoadFromFile  : " + inQuotes(f.InpFN));
        if (LoadSaveFile(FileMode::ReadInput) != kExitCompleted) {
            runLog("Evaluation End: Exit code: " + std::to_string(run.exitCode));
            return run.exitCode;
        }
        fromFile = true;
    } else if (f.getFromClpF) {
        const std::string clip = platform::clipboardText();
        if (noClipboard()) return run.exitCode = kExitNoInput;
        run.scriptText = withCrLf(trimmedText(clip));
        runLog("GetClipbTEXT  : " + inQuotes(run.scriptText));
    } else if (f.getFromSelTextF) {
        run.scriptText = withCrLf(unquoted(std::string(trimBlanks(f.selText))));
        runLog("Expression    : " + inQuotes(run.scriptText));
    } else {
        runLog("Error : Invalid Input file.\r\nfilename: " + f.InpFN + ".\r\n" +
               " Program will terminate.");
        return run.exitCode = kExitNoInput;
    }

    if (f.delF) {
        // One deletion per "/del": the request does not stay for later runs.
        f.delF = false;
        std::error_code ec;
        if (!f.OutpFN.empty() && isRegularFile(f.OutpFN)) std::filesystem::remove(osPath(f.OutpFN), ec);
        if (f.splF && f.splPath != "0") {
            deleteSavedPlots(f.splPath);
            runLog("Deleted *.jpg : " + inQuotes(f.splPath));
        }
    }

    const std::uint32_t start = platform::tickCount();
    runWithHeader(f);
    run.executionMs = platform::tickCount() - start;

    setZrtResStr(run.scriptText);
    // The length in characters, as a host reads the text, not in UTF-8 bytes.
    runLog("Eval Codes    : Ret = " + std::to_string(utf16Length(run.scriptText)) +
           ", ExitCode = " + std::to_string(run.exitCode));

    // A file run writes its output: to the file named by "/o" or "/a", else to
    // Result.zrt beside the input (the default rule of the parameter parser).
    const bool toFile = fromFile && !f.OutpFN.empty() && (f.outputF || !run.hostTakesUnnamedOutput);
    if (toFile) {
        saveOutputToFile();
    } else if (f.SaveToClpBF) {
        platform::setClipboardText(run.scriptText);
        if (noClipboard()) run.exitCode = kExitNoInput;
        runLog("Result        : " + inQuotes(run.scriptText));
    }

    runLog("zrtEvalMain   : Command Line Executed.");
    runLog("Evaluation End: Exit code: " + std::to_string(run.exitCode));
    runLog(std::string(53, '-'));
    return run.exitCode;
}

}  // namespace zrt
