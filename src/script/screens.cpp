#include "script/screens.h"

#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "script/batchrun.h"
#include "script/files.h"
#include "script/flags.h"
#include "ui/about.h"
#include "ui/matrixprint.h"

namespace zrt {

std::string memoryScreen() {
    std::string text = "Show Memory:\r\n\r\n";
    text += "Variables:\r\n " + varFuncListDisplay(ListKind::Vars) + "\r\n\r\n";
    text += "Functions:\r\n " + varFuncListDisplay(ListKind::Functs) + "\r\n\r\n";
    text += GetMatrixList(true) + "\r\n";
    return text;
}

std::string logScreen() {
    if (LoadSaveFile(FileMode::ReadLog) == kExitNotRead) return {};
    return "Log File:\r\nFileName:" + batchFlags().logFileN + "\r\n\r\n" + batchRun().scriptText;
}

std::string commandsScreen() {
    if (LoadSaveFile(FileMode::ReadCommands) == kExitNotRead) return {};
    return batchRun().scriptText;
}

std::string aboutScreen() { return PluginInfoText(false); }

}  // namespace zrt
