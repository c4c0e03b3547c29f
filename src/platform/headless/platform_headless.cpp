#include <dlfcn.h>

#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/headless/desktop_clipboard.h"
#include "platform/headless/headless.h"

#include "base/limits.h"
#include "base/strings.h"

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
    std::deque<std::optional<std::string>> inputAnswers;
    std::vector<ShownInput> inputs;
    std::vector<MessagesWindow> msgWindows;
    bool msgWindowOpen = false;
    std::uint32_t clockOffset = 0;
    std::string unwritable;
    bool progressShown = false;
    bool systemClipboard = false;
    std::string clipboardFault;
};

HeadlessState& headlessState() {
    static HeadlessState state;
    return state;
}

int firstButton(platform::Buttons b) {
    return b == platform::Buttons::Ok ? platform::kIdOk : platform::kIdYes;
}

// What this platform shows is recorded for tests to read. A long run (the
// command line tool, a host that evaluates for days, a fuzzer) keeps only the
// newest records of each kind: at most `maxCount` of them and, together, at
// most kMaxRecordedText characters of text (a box may carry a whole formula).
std::size_t textSize(const std::string& t) { return t.size(); }
std::size_t textSize(const ShownMessage& m) { return m.text.size() + m.title.size(); }
std::size_t textSize(const ShownInput& i) {
    return i.prompt.size() + i.title.size() + i.defaultText.size();
}
std::size_t textSize(const MessagesWindow& w) { return w.title.size() + w.text.size(); }

template <class Record>
void keepRecord(std::vector<Record>& list, Record record, std::size_t maxCount) {
    list.push_back(std::move(record));
    std::size_t kept = 0, text = 0;
    while (kept < list.size() && kept < maxCount) {
        text += textSize(list[list.size() - 1 - kept]);
        if (kept > 0 && text > kMaxRecordedText) break;
        ++kept;
    }
    list.erase(list.begin(), list.end() - static_cast<std::ptrdiff_t>(kept));
}

}  // namespace

void setConsole(bool on) { headlessState().console = on; }

std::string lfLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') out += text[i];
    return out;
}

namespace {

void printLines(std::FILE* stream, std::string_view text) {
    const std::string lf = lfLines(text);
    std::fwrite(lf.data(), 1, lf.size(), stream);
    std::fputc('\n', stream);
}

}  // namespace
void setSystemClipboard(bool on) { headlessState().systemClipboard = on; }
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
void queueInputAnswer(const std::string& answer) { headlessState().inputAnswers.emplace_back(answer); }
void queueInputCancel() { headlessState().inputAnswers.emplace_back(std::nullopt); }
const std::vector<ShownInput>& shownInputs() { return headlessState().inputs; }
void clearShownInputs() { headlessState().inputs.clear(); }
const std::vector<MessagesWindow>& messagesWindows() { return headlessState().msgWindows; }
void clearMessagesWindows() {
    headlessState().msgWindows.clear();
    headlessState().msgWindowOpen = false;
}
void closeMessagesWindow() { headlessState().msgWindowOpen = false; }
void advanceClock(std::uint32_t milliseconds) { headlessState().clockOffset += milliseconds; }
void setUnwritableFolder(const std::string& folder) { headlessState().unwritable = folder; }

void resetRecords() {
    HeadlessState fresh;
    std::swap(headlessState(), fresh);
    resetWindowSettings();
    resetWindows();
}

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
    if (s.console) headless::printLines(stderr, std::string(title) + ": " + std::string(text));
    headless::keepRecord(s.shown, {std::string(text), std::string(title), buttons, answer}, 10000);
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
    headless::keepRecord(s.debug, std::string(text), 10000);
}

std::uint32_t tickCount() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
               duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count()) +
           headless::headlessState().clockOffset;
}

void setClipboardText(std::string_view text) {
    auto& s = headless::headlessState();
    s.clipboardFault.clear();
    if (s.systemClipboard) {
        headless::writeDesktopClipboard(text, s.clipboardFault);
        return;
    }
    s.clipboard = text;
    s.clipboardHasPicture = false;
    s.clipboardPicture = Image{};
}

std::string clipboardText() {
    auto& s = headless::headlessState();
    s.clipboardFault.clear();
    if (!s.systemClipboard) return s.clipboard;
    std::string text;
    headless::readDesktopClipboard(text, s.clipboardFault);
    return text;
}

std::string clipboardFault() { return headless::headlessState().clipboardFault; }

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
    if (s.console) headless::printLines(stdout, text);
    headless::keepRecord(s.screens, std::string(text), 1000);
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
    headless::keepRecord(s.progress, std::move(entry), 1000);
    return true;
}

std::string modulePath() {
    Dl_info info{};
    // For a program the library is linked into, the loader names it as it was
    // started (possibly relative to a folder that is no longer current).
    if (dladdr(reinterpret_cast<void*>(&modulePath), &info) && info.dli_fname &&
        info.dli_fname[0] == '/')
        return info.dli_fname;
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace zrt::platform

// ---- Settings, texts of the editor, windows of the library ----

namespace zrt::platform {

namespace {

std::filesystem::path hostPath(std::string_view name) {
    std::string n(name);
    for (char& c : n)
        if (c == '\\') c = '/';
    return std::filesystem::u8path(n);
}

bool writable(std::string_view path) {
    const std::string& deny = headless::headlessState().unwritable;
    if (deny.empty()) return true;
    const std::string p = hostPath(path).lexically_normal().u8string();
    const std::string d = hostPath(deny).lexically_normal().u8string();
    return p.compare(0, d.size(), d) != 0;
}

std::string_view trimmedLine(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r'))
        t.remove_suffix(1);
    return t;
}

std::vector<std::string> fileLines(const std::filesystem::path& path, bool& exists) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    exists = static_cast<bool>(in);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A file saved by an editor as UTF-8 with a byte-order mark.
        if (lines.empty() && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        lines.push_back(line);
    }
    return lines;
}

// Index of the "[section]" line, or -1.
int sectionLine(const std::vector<std::string>& lines, std::string_view section) {
    const std::string want = lowerAscii(trimmedLine(section));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view t = trimmedLine(lines[i]);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']' &&
            lowerAscii(trimmedLine(t.substr(1, t.size() - 2))) == want)
            return static_cast<int>(i);
    }
    return -1;
}

bool isSectionLine(std::string_view line) {
    const std::string_view t = trimmedLine(line);
    return !t.empty() && t.front() == '[';
}

// Index of the key's line inside the section starting at `start`, or -1; `end`
// gets the index after the section's last line.
int keyLine(const std::vector<std::string>& lines, int start, std::string_view key, int& end) {
    const std::string want = lowerAscii(trimmedLine(key));
    int found = -1;
    std::size_t i = static_cast<std::size_t>(start) + 1;
    for (; i < lines.size() && !isSectionLine(lines[i]); ++i) {
        const std::size_t eq = lines[i].find('=');
        if (found < 0 && eq != std::string::npos &&
            lowerAscii(trimmedLine(std::string_view(lines[i]).substr(0, eq))) == want)
            found = static_cast<int>(i);
    }
    end = static_cast<int>(i);
    return found;
}

}  // namespace

std::string profileString(std::string_view section, std::string_view key,
                          std::string_view defaultText, std::string_view path, int maxChars) {
    if (maxChars <= 0) return {};
    std::string value(defaultText);
    bool exists = false;
    const std::vector<std::string> lines = fileLines(hostPath(path), exists);
    const int s = exists ? sectionLine(lines, section) : -1;
    int end = 0;
    const int k = s >= 0 ? keyLine(lines, s, key, end) : -1;
    if (k >= 0) {
        const std::string& line = lines[static_cast<std::size_t>(k)];
        std::string_view v = trimmedLine(std::string_view(line).substr(line.find('=') + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        value = std::string(v);
    }
    if (value.size() > static_cast<std::size_t>(maxChars - 1))
        value.resize(static_cast<std::size_t>(maxChars - 1));
    return value;
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view path) {
    const std::filesystem::path file = hostPath(path);
    std::error_code ec;
    if (!writable(path) || !std::filesystem::is_directory(file.parent_path(), ec)) return false;
    bool exists = false;
    std::vector<std::string> lines = fileLines(file, exists);
    const std::string entry = std::string(trimmedLine(key)) + "=" + std::string(value);
    const int s = sectionLine(lines, section);
    if (s < 0) {
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(entry);
    } else {
        int end = 0;
        const int k = keyLine(lines, s, key, end);
        if (k >= 0) {
            lines[static_cast<std::size_t>(k)] = entry;
        } else {
            // After the section's last non-empty line.
            while (end - 1 > s && trimmedLine(lines[static_cast<std::size_t>(end - 1)]).empty()) --end;
            lines.insert(lines.begin() + end, entry);
        }
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

void flushProfile(std::string_view) {}

bool canWriteFile(std::string_view path) {
    if (!writable(path)) return false;
    const std::filesystem::path file = hostPath(path);
    std::error_code ec;
    const bool existed = std::filesystem::exists(file, ec);
    bool ok;
    {
        std::ofstream out(file, std::ios::binary | std::ios::app);
        ok = static_cast<bool>(out);
    }
    if (ok && !existed) std::filesystem::remove(file, ec);
    return ok;
}

namespace {

// Code points of UTF-8 text (invalid bytes become U+FFFD).
std::u32string codePoints(std::string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >= 0xC2 && c < 0xE0) ? 1 : (c >= 0xE0 && c < 0xF0) ? 2
                                                           : (c >= 0xF0 && c < 0xF5) ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : static_cast<char32_t>(c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((d & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | static_cast<char32_t>(d & 0x3F);
        }
        if (!ok) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += cp;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

}  // namespace

std::string codePageToUtf8(std::string_view bytes, int codePage) {
    if (codePage == 65001) return std::string(bytes);
    return ansiToUtf8(bytes);
}

std::string utf8ToCodePage(std::string_view text, int codePage) {
    if (codePage == 65001) return std::string(text);
    std::string out;
    for (char32_t cp : codePoints(text)) {
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char byte = '?';
        for (int k = 0; k < 32; ++k)
            if (kCp1252High[k] == cp && cp != 0xFFFD) byte = static_cast<char>(0x80 + k);
        out += byte;
    }
    return out;
}

bool inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText,
              std::string& answer) {
    auto& s = headless::headlessState();
    headless::keepRecord(s.inputs, {std::string(prompt), std::string(title), std::string(defaultText)},
                         1000);
    if (s.console) {
        std::fprintf(stderr, "%.*s: %.*s [%.*s]\n", static_cast<int>(title.size()), title.data(),
                     static_cast<int>(prompt.size()), prompt.data(),
                     static_cast<int>(defaultText.size()), defaultText.data());
    }
    if (s.inputAnswers.empty()) {
        answer.clear();
        return false;
    }
    const std::optional<std::string> a = s.inputAnswers.front();
    s.inputAnswers.pop_front();
    answer = a.value_or(std::string());
    return a.has_value();
}

void showMessagesWindow(std::string_view title, std::string_view text, bool console) {
    auto& s = headless::headlessState();
    if (s.console || console) headless::printLines(stdout, text);
    // The window asks for its theme as it opens; the record stands for it after.
    platform::WindowTheme theme;
    if (!console) {
        theme = headless::windowOpened(headless::messagesWindowHandle());
        headless::windowClosed(headless::messagesWindowHandle());
    }
    headless::keepRecord(s.msgWindows,
                         {std::string(title), std::string(text), console,
                          !console && s.msgWindowOpen, theme},
                         1000);
    if (!console) s.msgWindowOpen = true;
}

bool fileVersion(std::string_view path, std::string&, std::string&, unsigned& errorNumber) {
    // Native library files carry no version block: ERROR_FILE_NOT_FOUND or
    // ERROR_RESOURCE_TYPE_NOT_FOUND, as Windows answers.
    std::error_code ec;
    errorNumber = std::filesystem::exists(hostPath(path), ec) ? 1813u : 2u;
    return false;
}

std::string fileTimeText(std::string_view path) {
    struct stat st {};
    if (::stat(hostPath(path).c_str(), &st) != 0) return {};
    std::tm local{};
    const std::time_t t = st.st_mtime;
    localtime_r(&t, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &local);
    return buf;
}

std::string tempFolder() {
    std::error_code ec;
    std::string folder = std::filesystem::temp_directory_path(ec).u8string();
    if (folder.empty()) folder = "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

void sleepMilliseconds(unsigned milliseconds) { ::usleep(milliseconds * 1000u); }

std::string lastSystemErrorText() { return {}; }

}  // namespace zrt::platform
