#include "log/trace.h"

#include "base/limits.h"
#include "platform/platform.h"

namespace zrt {

namespace {

struct TraceState {
    int mode = 1;
    std::string text;
    int messageSwitch = 0;
    int errorMsgsMode = 0;
};

TraceState& traceState() {
    static TraceState state;
    return state;
}

}  // namespace

int SetDebugF(int mode) {
    const int previous = traceState().mode;
    traceState().mode = mode;
    return previous;
}

int debugMode() { return traceState().mode; }

bool tracing() {
    const int m = traceState().mode;
    return m != 0 && !(m & 1) && (m & 6);
}

void DebugAdd(std::string_view text, std::string_view title) {
    TraceState& s = traceState();
    if (s.mode == 0 || (s.mode & 1)) return;
    if (s.mode & 2) {
        platform::messageBox(text, title);
    } else if (s.mode & 4) {
        s.text += "\r\n";
        s.text.append(text);
        if (s.text.size() > kTraceCap) {
            std::size_t cut = s.text.find("\r\n", s.text.size() - kTraceCap / 2);
            s.text.erase(0, cut == std::string::npos ? s.text.size() - kTraceCap / 2 : cut);
        }
    }
}

std::string DebugAdd(std::string_view text, std::string_view title, bool returnLog) {
    DebugAdd(text, title);
    return returnLog ? traceState().text : std::string();
}

const std::string& debugLog() { return traceState().text; }

void clearDebugLog() { traceState().text.clear(); }

int ShowMsgs(int mode) {
    traceState().messageSwitch = mode;
    if (mode == 2) traceState().mode = 1;
    return 0;
}

int messageSwitch() { return traceState().messageSwitch; }

void showEvalError(std::string_view text) {
    if (traceState().messageSwitch & 1)
        platform::messageBox(text, "ZeRarove: Error", platform::Buttons::Ok, platform::Icon::Error);
}

int SetErrorMsgsF(int mode) {
    const int previous = traceState().errorMsgsMode;
    traceState().errorMsgsMode = mode;
    return previous;
}

void showWithCopyOffer(std::string_view heading, const std::string& text) {
    const std::string shown = text.empty() ? std::string("\r\nNone") : text;
    std::string body(heading);
    body += "\r\n(Yes => copy to Clipboard)\r\n";
    body += shown;
    if (platform::messageBox(body, "Zerith.dll", platform::Buttons::YesNo,
                             platform::Icon::Exclamation) == platform::kIdYes)
        platform::setClipboardText(shown);
}

void resetTrace() { traceState() = TraceState{}; }

}  // namespace zrt
