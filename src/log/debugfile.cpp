#include "log/debugfile.h"

#include <fstream>

#include "platform/platform.h"
#include "platform/paths.h"

namespace zrt {

namespace {

bool writeLine(const std::string& path, std::string_view text, bool append) {
    std::ofstream out(osPath(path), std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!out) return false;
    out << text << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

std::string debugFilePath() {
#ifdef _WIN32
    return "c:\\debugf.dbg";
#else
    return platform::tempFolder() + "debugf.dbg";
#endif
}

int DebugF(std::string_view text, int mode, int skip) {
    if (skip != 0) return 0;
    if (mode == 2) {
        platform::debugOutput(text);
        return 0;
    }
    const bool append = mode == 0;
    const std::string path = debugFilePath();
    for (;;) {
        if (writeLine(path, text, append)) return 0;
        platform::sleepMilliseconds(10);
        if (writeLine(path, text, append)) return 0;
        // The root of drive C: is closed to ordinary users on today's Windows:
        // the temporary folder takes the line before anybody is asked.
        const std::string fallback = platform::tempFolder() + "debugf.dbg";
        if (fallback != path && writeLine(fallback, text, append)) return 0;
        const int answer =
            platform::messageBox("Unable to open file: '" + path + "' for message:\r\n\r\n" +
                                     std::string(text) + "\r\n\r\nRetry?",
                                 "DebugF() Error", platform::Buttons::YesNo,
                                 platform::Icon::Exclamation, platform::kIdNo);
        if (answer != platform::kIdYes) return 0;
        platform::pumpWindowMessages();
    }
}

}  // namespace zrt
