#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <deque>

#include "platform/headless/headless.h"

namespace zrt::headless {

namespace {

struct HeadlessState {
    bool console = false;
    std::deque<int> answers;
    std::vector<ShownMessage> shown;
    std::vector<std::string> debug;
    std::string clipboard;
    // The clipboard holds a text or a picture, as the Windows one after
    // EmptyClipboard and one SetClipboardData.
    bool clipboardHasPicture = false;
    Image clipboardPicture;
};

HeadlessState& headlessState() {
    static HeadlessState state;
    return state;
}

int firstButton(platform::Buttons b) {
    return b == platform::Buttons::Ok ? platform::kIdOk : platform::kIdYes;
}

}  // namespace

void setConsole(bool on) { headlessState().console = on; }
void queueAnswer(int answer) { headlessState().answers.push_back(answer); }
const std::vector<ShownMessage>& shownMessages() { return headlessState().shown; }
void clearShownMessages() { headlessState().shown.clear(); }
const std::vector<std::string>& debugLines() { return headlessState().debug; }
void clearDebugLines() { headlessState().debug.clear(); }

}  // namespace zrt::headless

namespace zrt::platform {

int messageBox(std::string_view text, std::string_view title, Buttons buttons, Icon,
               int defaultAnswer) {
    auto& s = headless::headlessState();
    int answer = defaultAnswer ? defaultAnswer : headless::firstButton(buttons);
    if (buttons != Buttons::Ok && !s.answers.empty()) {
        answer = s.answers.front();
        s.answers.pop_front();
    }
    if (s.console) {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                     static_cast<int>(text.size()), text.data());
    }
    // Tests read what was shown; keep the record bounded for long runs.
    if (s.shown.size() >= 10000) s.shown.erase(s.shown.begin());
    s.shown.push_back({std::string(text), std::string(title), buttons, answer});
    return answer;
}

void debugOutput(std::string_view text) {
    auto& s = headless::headlessState();
    if (s.debug.size() >= 10000) s.debug.erase(s.debug.begin());
    s.debug.emplace_back(text);
}

std::uint32_t tickCount() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void setClipboardText(std::string_view text) {
    auto& s = headless::headlessState();
    s.clipboard = text;
    s.clipboardHasPicture = false;
    s.clipboardPicture = Image{};
}

std::string clipboardText() { return headless::headlessState().clipboard; }

bool setClipboardPicture(const Image& picture) {
    if (picture.empty()) return false;
    auto& s = headless::headlessState();
    s.clipboard.clear();
    s.clipboardPicture = picture;
    s.clipboardHasPicture = true;
    return true;
}

bool clipboardPicture(Image& picture) {
    const auto& s = headless::headlessState();
    if (!s.clipboardHasPicture) return false;
    picture = s.clipboardPicture;
    return true;
}

std::string modulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&modulePath), &info) && info.dli_fname)
        return info.dli_fname;
    return {};
}

}  // namespace zrt::platform
