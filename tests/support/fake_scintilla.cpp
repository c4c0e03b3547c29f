#include "support/fake_scintilla.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "plugin/nppinterface.h"

namespace fake {

namespace {

namespace npp = zrt::npp;

// Messages a host answers that the plug-in does not send.
constexpr unsigned kSciGetCurLine = 2027;
constexpr unsigned kSciGetText = 2182;

enum class CharClass { Space, NewLine, Word, Punctuation };

CharClass classOf(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\r' || c == '\n') return CharClass::NewLine;
    if (u < 0x20 || c == ' ') return CharClass::Space;
    if (u >= 0x80 || std::isalnum(u) || c == '_') return CharClass::Word;
    return CharClass::Punctuation;
}

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Scintilla's word-start and word-end tests of whole-word searches.
bool wordStartAt(const std::string& t, std::size_t pos) {
    if (pos >= t.size()) return false;
    const CharClass c = classOf(t[pos]);
    return (c == CharClass::Word || c == CharClass::Punctuation) &&
           (pos == 0 || c != classOf(t[pos - 1]));
}

bool wordEndAt(const std::string& t, std::size_t pos) {
    if (pos == 0) return false;
    if (pos >= t.size()) return true;
    const CharClass c = classOf(t[pos - 1]);
    return (c == CharClass::Word || c == CharClass::Punctuation) && c != classOf(t[pos]);
}

}  // namespace

void View::showTab(std::size_t k) {
    if (k >= otherTabs.size()) return;
    std::swap(path, otherTabs[k].path);
    std::swap(text, otherTabs[k].text);
    std::swap(modified, otherTabs[k].modified);
    caret = anchor = 0;
}

bool answerOpenDocuments(const View& main, const View& second, unsigned message,
                         std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) {
    const View* views[2] = {&main, &second};
    if (message == npp::NPPM_GETCURRENTDOCINDEX) {
        result = lParam == 0 || lParam == 1 ? 0 : -1;
        return true;
    }
    if (message == npp::NPPM_GETBUFFERIDFROMPOS) {
        const bool known =
            (lParam == 0 || lParam == 1) && wParam <= views[lParam]->otherTabs.size();
        result = known ? 1000 * (lParam + 1) + static_cast<std::intptr_t>(wParam) + 1 : 0;
        return true;
    }
    return false;
}

const std::string* openDocumentPath(const View& main, const View& second, std::uintptr_t id) {
    const View* view = id / 1000 == 1 ? &main : id / 1000 == 2 ? &second : nullptr;
    const std::size_t tab = id % 1000;
    if (!view || tab == 0 || tab > view->otherTabs.size() + 1) return nullptr;
    return tab == 1 ? &view->path : &view->otherTabs[tab - 2].path;
}

const char* generationName(Generation generation) {
    return generation == Generation::Old ? "Old" : "Today";
}

std::string languageDescription(int langType) {
    switch (langType) {
        case 0:
            return "Normal text file";
        case 3:
            return "C++ source file";
        default:
            return "";
    }
}

void View::insert(std::intptr_t at, const std::string& add) {
    const auto n = static_cast<std::intptr_t>(add.size());
    text.insert(static_cast<std::size_t>(at), add);
    if (caret > at) caret += n;
    if (anchor > at) anchor += n;
    if (undoDepth == 0 || undoSteps.empty()) undoSteps.emplace_back();
    undoSteps.back().push_back({at, add});
}

void View::typeText(const std::string& typed) {
    const std::intptr_t at = caret;
    insert(at, typed);
    caret = anchor = at + static_cast<std::intptr_t>(typed.size());
}

void View::undo() {
    if (undoSteps.empty()) return;
    const std::vector<Insertion> step = undoSteps.back();
    undoSteps.pop_back();
    for (auto it = step.rbegin(); it != step.rend(); ++it) {
        const auto n = static_cast<std::intptr_t>(it->text.size());
        text.erase(static_cast<std::size_t>(it->at), it->text.size());
        for (std::intptr_t* p : {&caret, &anchor})
            if (*p > it->at) *p = std::max(it->at, *p - n);
    }
}

std::intptr_t View::lineCount() const {
    std::intptr_t n = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (text[i] == '\r' || text[i] == '\n') ++n;
    }
    return n;
}

std::intptr_t View::lineStart(std::intptr_t line) const {
    if (line <= 0) return 0;
    std::intptr_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (text[i] == '\r' || text[i] == '\n') {
            if (++n == line) return static_cast<std::intptr_t>(i + 1);
        }
    }
    return -1;
}

std::intptr_t View::lineEnd(std::intptr_t line) const {
    std::intptr_t p = lineStart(line);
    if (p < 0) return -1;
    while (p < static_cast<std::intptr_t>(text.size()) &&
           text[static_cast<std::size_t>(p)] != '\r' && text[static_cast<std::size_t>(p)] != '\n')
        ++p;
    return p;
}

std::intptr_t View::lineOf(std::intptr_t pos) const {
    pos = std::clamp<std::intptr_t>(pos, 0, static_cast<std::intptr_t>(text.size()));
    std::intptr_t line = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(pos); ++i) {
        const char c = text[i];
        const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (c == '\n' || (c == '\r' && !crlf)) ++line;
    }
    return line;
}

void View::caretAt(int line, int column) {
    caret = anchor = lineStart(line) + column;
}

std::intptr_t View::handle(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const auto length = static_cast<std::intptr_t>(text.size());
    auto clampPos = [&](std::intptr_t p) { return std::clamp<std::intptr_t>(p, 0, length); };
    const bool old = generation == Generation::Old;
    switch (message) {
        case npp::SCI_GETMODIFY:
            return modified ? 1 : 0;
        case npp::SCI_GETCODEPAGE:
            return codePage;
        case npp::SCI_GETEOLMODE:
            return eolMode;
        case npp::SCI_GETLENGTH:
            return length;
        case npp::SCI_GETCURRENTPOS:
            return caret;
        case npp::SCI_GOTOPOS:
            caret = anchor = clampPos(static_cast<std::intptr_t>(wParam));
            return 0;
        case npp::SCI_GETSELECTIONSTART:
            return std::min(caret, anchor);
        case npp::SCI_GETSELECTIONEND:
            return std::max(caret, anchor);
        case npp::SCI_LINEFROMPOSITION:
            return lineOf(static_cast<std::intptr_t>(wParam));
        case npp::SCI_POSITIONFROMLINE: {
            const auto line = static_cast<std::intptr_t>(wParam);
            if (line < 0) return lineStart(lineOf(std::min(caret, anchor)));
            return line >= lineCount() ? -1 : lineStart(line);
        }
        case npp::SCI_GETLINEENDPOSITION: {
            const auto line = static_cast<std::intptr_t>(wParam);
            return line < 0 || line >= lineCount() ? length : lineEnd(line);
        }
        case npp::SCI_LINELENGTH: {
            const auto line = static_cast<std::intptr_t>(wParam);
            if (claimedLength) return *claimedLength;
            if (line < 0 || line >= lineCount()) return 0;
            const std::intptr_t next = line + 1 < lineCount() ? lineStart(line + 1) : length;
            return next - lineStart(line);
        }
        case npp::SCI_GETCOLUMN: {
            const auto pos = clampPos(static_cast<std::intptr_t>(wParam));
            return pos - lineStart(lineOf(pos));
        }
        case npp::SCI_GETLINE: {
            const auto line = static_cast<std::intptr_t>(wParam);
            if (line < 0 || line >= lineCount()) return 0;
            const std::intptr_t start = lineStart(line);
            const std::intptr_t next = line + 1 < lineCount() ? lineStart(line + 1) : length;
            if (lParam)  // no terminating zero, as Scintilla does
                std::memcpy(reinterpret_cast<char*>(lParam), text.data() + start,
                            static_cast<std::size_t>(next - start));
            return next - start;
        }
        // Both generations write the text and a zero right after it; the older
        // one counts that zero in its answers and in the buffer size it is
        // given. Nothing is written past that zero, so a buffer one byte short
        // shows under the address sanitizer.
        case npp::SCI_GETSELTEXT: {
            const std::intptr_t s = std::min(caret, anchor), e = std::max(caret, anchor);
            if (!lParam) return claimedLength ? *claimedLength : e - s + (old ? 1 : 0);
            copyOut(reinterpret_cast<char*>(lParam), s, e - s);
            return e == s && old ? 0 : e - s + (old ? 1 : 0);
        }
        case kSciGetText: {
            if (!lParam) return length + (old ? 1 : 0);
            if (old && wParam == 0) return 0;
            const std::intptr_t n =
                std::min<std::intptr_t>(static_cast<std::intptr_t>(wParam) - (old ? 1 : 0), length);
            copyOut(reinterpret_cast<char*>(lParam), 0, n);
            return n;
        }
        case kSciGetCurLine: {
            const std::intptr_t line = lineOf(caret);
            const std::intptr_t start = lineStart(line);
            const std::intptr_t next = line + 1 < lineCount() ? lineStart(line + 1) : length;
            if (!lParam) return next - start + (old ? 1 : 0);
            if (old && wParam == 0) return 0;
            const std::intptr_t n = std::min<std::intptr_t>(
                static_cast<std::intptr_t>(wParam) - (old ? 1 : 0), next - start);
            copyOut(reinterpret_cast<char*>(lParam), start, n);
            return caret - start;
        }
        case npp::SCI_GETTEXTRANGEFULL: {
            if (old) break;
            auto* range = reinterpret_cast<npp::TextRangeFull*>(lParam);
            return range ? copyRange(range->cpMin, range->cpMax, range->lpstrText) : 0;
        }
        case npp::SCI_GETTEXTRANGE: {
            if (!old) break;
            auto* range = reinterpret_cast<npp::TextRange*>(lParam);
            return range ? copyRange(range->cpMin, range->cpMax, range->lpstrText) : 0;
        }
        case npp::SCI_INSERTTEXT: {
            const char* add = reinterpret_cast<const char*>(lParam);
            if (!add) return 0;
            const std::intptr_t at = static_cast<std::intptr_t>(wParam) == -1
                                         ? caret
                                         : clampPos(static_cast<std::intptr_t>(wParam));
            insert(at, add);
            return 0;
        }
        case npp::SCI_BEGINUNDOACTION:
            if (undoDepth++ == 0) undoSteps.emplace_back();
            return 0;
        case npp::SCI_ENDUNDOACTION:
            if (undoDepth > 0 && --undoDepth == 0 && undoSteps.back().empty()) undoSteps.pop_back();
            return 0;
        case npp::SCI_UNDO:
            undo();
            return 0;
        case npp::SCI_SETTARGETSTART:
            targetStart = static_cast<std::intptr_t>(wParam);
            return 0;
        case npp::SCI_SETTARGETEND:
            targetEnd = static_cast<std::intptr_t>(wParam);
            return 0;
        case npp::SCI_SETSEARCHFLAGS:
            searchFlags = static_cast<int>(wParam);
            return 0;
        case npp::SCI_SEARCHINTARGET: {
            const std::string needle(reinterpret_cast<const char*>(lParam), wParam);
            const std::intptr_t s = clampPos(std::min(targetStart, targetEnd));
            const std::intptr_t e = clampPos(std::max(targetStart, targetEnd));
            const bool matchCase = searchFlags & 4;
            const bool wholeWord = searchFlags & npp::kScFindWholeWord;
            if (needle.empty()) return -1;
            for (std::intptr_t p = s; p + static_cast<std::intptr_t>(needle.size()) <= e; ++p) {
                bool same = true;
                for (std::size_t k = 0; k < needle.size() && same; ++k) {
                    const char a = text[static_cast<std::size_t>(p) + k], b = needle[k];
                    same = matchCase ? a == b : lower(a) == lower(b);
                }
                const std::size_t end = static_cast<std::size_t>(p) + needle.size();
                if (same && (!wholeWord || (wordStartAt(text, static_cast<std::size_t>(p)) &&
                                            wordEndAt(text, end)))) {
                    targetStart = p;
                    targetEnd = static_cast<std::intptr_t>(end);
                    return p;
                }
            }
            return -1;
        }
        case npp::SCI_CALLTIPSHOW:
            callTipActive = true;
            callTipPos = static_cast<std::intptr_t>(wParam);
            callTip = lParam ? reinterpret_cast<const char*>(lParam) : "";
            return 0;
        case npp::SCI_CALLTIPCANCEL:
            callTipActive = false;
            return 0;
        case npp::SCI_CALLTIPACTIVE:
            return callTipActive ? 1 : 0;
        case npp::SCI_SETMOUSEDWELLTIME:
            dwellTime = static_cast<std::intptr_t>(wParam);
            return 0;
        case npp::SCI_GETMOUSEDWELLTIME:
            return dwellTime;
        default:
            break;
    }
    unknown.push_back(message);
    return 0;
}

void View::copyOut(char* buffer, std::intptr_t from, std::intptr_t count) const {
    if (count > 0) std::memcpy(buffer, text.data() + from, static_cast<std::size_t>(count));
    buffer[std::max<std::intptr_t>(count, 0)] = '\0';
}

std::intptr_t View::copyRange(std::intptr_t from, std::intptr_t to, char* buffer) const {
    const auto length = static_cast<std::intptr_t>(text.size());
    if (!buffer) return 0;
    const std::intptr_t s = std::clamp<std::intptr_t>(from, 0, length);
    const std::intptr_t e = to < 0 ? length : std::clamp<std::intptr_t>(to, 0, length);
    if (e < s) return 0;
    copyOut(buffer, s, e - s);
    return e - s;
}

}  // namespace fake
