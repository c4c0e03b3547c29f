#include <dlfcn.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
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
    std::function<void()> whileBoxIsOpen;
    // The clipboard holds a text or a picture, as the Windows one after
    // EmptyClipboard and one SetClipboardData.
    bool clipboardHasPicture = false;
    Image clipboardPicture;
    std::deque<std::string> fileAnswers;
    std::vector<std::string> screens;
    std::vector<std::string> progress;
    bool progressShown = false;
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
void setWhileBoxIsOpen(std::function<void()> hook) { headlessState().whileBoxIsOpen = std::move(hook); }
void queueFileAnswer(const std::string& path) { headlessState().fileAnswers.push_back(path); }
const std::vector<std::string>& shownScreens() { return headlessState().screens; }
void clearShownScreens() { headlessState().screens.clear(); }
const std::vector<std::string>& progressLines() { return headlessState().progress; }
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
    if (s.whileBoxIsOpen) {
        // A box the hook shows itself does not run the hook again.
        const std::function<void()> hook = std::move(s.whileBoxIsOpen);
        s.whileBoxIsOpen = nullptr;
        hook();
        headless::headlessState().whileBoxIsOpen = hook;
    }
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

namespace {

std::string fileAnswer() {
    auto& s = headless::headlessState();
    if (s.fileAnswers.empty()) return {};
    std::string answer = s.fileAnswers.front();
    s.fileAnswers.pop_front();
    return answer;
}

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1.
const char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

std::string openFileDialog(std::string_view, std::string_view) { return fileAnswer(); }

std::string saveFileDialog(std::string_view, std::string_view) { return fileAnswer(); }

std::string ansiToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        const char16_t cp = b < 0x80 ? b : b < 0xA0 ? kCp1252High[b - 0x80] : b;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

void showTextScreen(std::string_view text) {
    auto& s = headless::headlessState();
    if (s.console) std::fprintf(stdout, "%.*s\n", static_cast<int>(text.size()), text.data());
    if (s.screens.size() >= 1000) s.screens.erase(s.screens.begin());
    s.screens.emplace_back(text);
}

bool progress(int line, int lineCount, bool show, std::string_view lineText) {
    auto& s = headless::headlessState();
    if (!show) {
        // The console's progress line ends with the run.
        if (s.console && s.progressShown) std::fprintf(stderr, "\n");
        s.progressShown = false;
        return true;
    }
    s.progressShown = true;
    const double percent = lineCount > 0 ? std::round(1000.0 * line / lineCount) / 10.0 : 100.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f %%", percent);
    std::string entry = std::string(buf) + "  " + std::string(lineText.substr(0, 60));
    if (s.console) std::fprintf(stderr, "\r%s\x1b[K", entry.c_str());
    if (s.progress.size() >= 1000) s.progress.erase(s.progress.begin());
    s.progress.push_back(std::move(entry));
    return true;
}

std::string modulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&modulePath), &info) && info.dli_fname)
        return info.dli_fname;
    return {};
}

}  // namespace zrt::platform
