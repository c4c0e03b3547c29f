#include "log/pluginlog.h"

#include <fstream>

#include "platform/platform.h"
#include "platform/paths.h"

namespace zrt {

namespace {

struct PluginLogState {
    // A library loaded by a host other than the editor logs to the debugger.
    int mode = 1;
    std::string path;
};

PluginLogState& pluginLogState() {
    static PluginLogState state;
    return state;
}

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

}  // namespace

int pbDebug() { return pluginLogState().mode; }
void setPbDebug(int mode) { pluginLogState().mode = mode; }
const std::string& dbgPath() { return pluginLogState().path; }
void setDbgPath(std::string path) { pluginLogState().path = std::move(path); }

std::string pluginLogLine(std::string_view proc, std::string_view text) {
    std::string line = "Proc: " + padded(std::string(proc) + "()", 20);
    line.append(text);
    return line;
}

void PluginLog(std::string_view line, int mode) {
    switch (mode) {
        case 1: platform::debugOutput(line); break;
        case 2: {
            const std::string& path = pluginLogState().path;
            if (path.empty()) break;
            // Opened and closed per line, so the file is complete whatever happens
            // next; a file that cannot be opened loses the line.
            std::ofstream out(osPath(path), std::ios::binary | std::ios::app);
            if (out) out << line << "\r\n";
            break;
        }
        case 3: platform::messageBox(line, ""); break;
        default: break;
    }
}

void pluginLogRaw(std::string_view line) { PluginLog(line, pluginLogState().mode); }

void pluginLog(std::string_view proc, std::string_view text) {
    if (pluginLogState().mode == 0) return;
    pluginLogRaw(pluginLogLine(proc, text));
}

void pluginLogEnd(std::string_view proc) {
    if (pluginLogState().mode == 0) return;
    pluginLogRaw("Proc: " + padded(std::string(proc), 15) + ": " + std::string(70, '-'));
}

void resetPluginLog() { pluginLogState() = PluginLogState{}; }

}  // namespace zrt
