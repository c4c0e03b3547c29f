#include "script/runlog.h"

#include <ctime>
#include <filesystem>
#include <fstream>

#include "log/pluginlog.h"
#include "platform/paths.h"
#include "script/flags.h"
#include "ui/about.h"

namespace zrt {

void runLog(std::string_view line) {
    const BatchFlags& f = batchFlags();
    if (!f.logF || f.logFileN.empty()) return;
    std::ofstream out(osPath(f.logFileN), std::ios::binary | std::ios::app);
    if (out) out << line << "\r\n";
}

std::string runTimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char buf[32];
    std::strftime(buf, sizeof buf, "%d/%m/%Y - %H:%M:%S", &local);
    return buf;
}

void StartPluginLog() {
    const std::string& path = dbgPath();
    if (!path.empty()) {
        std::error_code ec;
        std::filesystem::remove(osPath(path), ec);
    }
    if (pbDebug() == 0) return;
    const std::string about = PluginInfoText(false);
    std::size_t start = 0;
    for (std::size_t end; (end = about.find("\r\n", start)) != std::string::npos; start = end + 2)
        pluginLogRaw(std::string_view(about).substr(start, end - start));
    pluginLogRaw("BatchRun : Time " + runTimeStamp());
    pluginLogRaw("Log File : \"" + path + "\"");
    pluginLogRaw(std::string(67, '-'));
}

}  // namespace zrt
