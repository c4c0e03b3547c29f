#include "script/runlog.h"

#include <ctime>
#include <fstream>

#include "script/flags.h"
#include "platform/paths.h"

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

}  // namespace zrt
