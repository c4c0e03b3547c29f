#include "plugin/editor.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/limits.h"
#include "base/numtext.h"
#include "base/strings.h"
#include "base/text16.h"
#include "plugin/nppinterface.h"
#include "plugin/state.h"
#include "script/flags.h"
#include "script/interpreter.h"
#include "log/pluginlog.h"

namespace zrt {

namespace {

using platform::WindowHandle;

std::intptr_t send(WindowHandle view, unsigned message, std::uintptr_t wParam = 0,
                   std::intptr_t lParam = 0) {
    return platform::sendMessage(view, message, wParam, lParam);
}

bool readable(std::intptr_t length) {
    return length >= 0 && length <= kMaxRead;
}

// A buffer of exactly `length` bytes and the terminating zero, zeroed; the
// text is what precedes the first zero.
std::vector<char> readBuffer(std::intptr_t length) {
    return std::vector<char>(static_cast<std::size_t>(length) + 1, '\0');
}

std::string bytesUpToZero(const std::vector<char>& buffer, std::size_t length) {
    const std::size_t n = std::min(length, buffer.size());
    return std::string(buffer.data(), std::find(buffer.data(), buffer.data() + n, '\0'));
}

// The bytes in [from, to). Today's hosts answer SCI_GETTEXTRANGEFULL with the
// number of bytes copied; older ones do not know it and answer 0, as they do
// for every unknown message. A non-empty range never gets 0 from a host that
// knows the message, so only that answer sends the older SCI_GETTEXTRANGE
// (whose 32-bit positions cannot reach past 2 GB).
std::string textRange(WindowHandle view, std::intptr_t from, std::intptr_t to) {
    if (from < 0 || to <= from || !readable(to - from)) return {};
    std::vector<char> buffer = readBuffer(to - from);
    npp::TextRangeFull full{from, to, buffer.data()};
    if (send(view, npp::SCI_GETTEXTRANGEFULL, 0, reinterpret_cast<std::intptr_t>(&full)) == 0 &&
        to <= INT32_MAX) {
        npp::TextRange range{static_cast<std::int32_t>(from), static_cast<std::int32_t>(to),
                             buffer.data()};
        send(view, npp::SCI_GETTEXTRANGE, 0, reinterpret_cast<std::intptr_t>(&range));
    }
    return bytesUpToZero(buffer, static_cast<std::size_t>(to - from));
}

// "\r\n" as the document ends its lines (SCI_GETEOLMODE: 0 CR LF, 1 CR, 2 LF).
std::string withDocumentLineEnds(WindowHandle view, const std::string& text) {
    const std::intptr_t mode = send(view, npp::SCI_GETEOLMODE);
    if (mode != 1 && mode != 2) return text;
    const char* eol = mode == 1 ? "\r" : "\n";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += eol;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool endsWith(std::string_view text, std::string_view part) {
    return text.size() >= part.size() && text.substr(text.size() - part.size()) == part;
}

}  // namespace

std::string fromDocument(WindowHandle view, std::string_view bytes) {
    const int codePage = static_cast<int>(send(view, npp::SCI_GETCODEPAGE));
    return platform::codePageToUtf8(bytes, codePage);
}

std::string toDocument(WindowHandle view, std::string_view text) {
    const int codePage = static_cast<int>(send(view, npp::SCI_GETCODEPAGE));
    return platform::utf8ToCodePage(text, codePage);
}

WindowHandle getEdit() {
    PluginState& s = pluginState();
    if (s.dwellView) {
        s.currentView = s.dwellView;
        return s.currentView;
    }
    int which = -1;
    platform::sendMessage(s.npp._nppHandle, npp::NPPM_GETCURRENTSCINTILLA, 0,
                          reinterpret_cast<std::intptr_t>(&which));
    s.currentView = which > 0 ? s.npp._scintillaSecondHandle : s.npp._scintillaMainHandle;
    if (pbDebug()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%p", s.currentView);
        pluginLog("getEdit", std::string(": currentEditView = ") + buf);
    }
    return s.currentView;
}

std::string getSelection() {
    PluginState& s = pluginState();
    const WindowHandle view = getEdit();
    // Scintilla 5.1.5 and later answer the length without the terminating
    // zero, older versions with it; the message writes the zero after the text
    // in both, so one byte more than the answer is right for either.
    const std::intptr_t length = send(view, npp::SCI_GETSELTEXT);
    std::string bytes;
    if (readable(length)) {
        std::vector<char> buffer = readBuffer(length);
        send(view, npp::SCI_GETSELTEXT, 0, reinterpret_cast<std::intptr_t>(buffer.data()));
        bytes = bytesUpToZero(buffer, static_cast<std::size_t>(length));
    } else {
        pluginLog("getSelection", ": selection length " + std::to_string(length) + " not read");
    }
    // The text's own length plus one, as older hosts answered it: the
    // tool-tip's distance test must not depend on which host answers.
    s.selectionLength = static_cast<int>(bytes.size() + 1);
    s.currentSelection = fromDocument(view, bytes);
    pluginLog("getSelection", ": currentSelection = " + s.currentSelection);
    return s.currentSelection;
}

int getCurLineNr(bool selectionEnd, int* column) {
    const WindowHandle view = getEdit();
    const std::intptr_t pos =
        send(view, selectionEnd ? npp::SCI_GETSELECTIONEND : npp::SCI_GETSELECTIONSTART);
    if (column)
        *column =
            static_cast<int>(send(view, npp::SCI_GETCOLUMN, static_cast<std::uintptr_t>(pos)));
    const int line =
        static_cast<int>(send(view, npp::SCI_LINEFROMPOSITION, static_cast<std::uintptr_t>(pos))) +
        1;
    pluginLog("getCurLineNr", ": LineNr = " + std::to_string(line));
    return line;
}

std::intptr_t getInsertPos(int* emptyLineMark) {
    const WindowHandle view = getEdit();
    const std::intptr_t selEnd = send(view, npp::SCI_GETSELECTIONEND);
    const std::intptr_t line =
        send(view, npp::SCI_LINEFROMPOSITION, static_cast<std::uintptr_t>(selEnd));
    const std::intptr_t start =
        send(view, npp::SCI_POSITIONFROMLINE, static_cast<std::uintptr_t>(line));
    const std::intptr_t end =
        send(view, npp::SCI_GETLINEENDPOSITION, static_cast<std::uintptr_t>(line));
    if (emptyLineMark) *emptyLineMark = start == end ? -1 : 1;
    pluginLog("getInsertPos", ": Line End Pos = " + std::to_string(end));
    return end;
}

std::string getFileName() {
    PluginState& s = pluginState();
    // Room for the longest path Windows knows, not only MAX_PATH.
    constexpr std::size_t kChars = 32768;
    std::u16string buffer(kChars + 1, u'\0');
    platform::sendMessage(s.npp._nppHandle, npp::NPPM_GETFULLCURRENTPATH, kChars,
                          reinterpret_cast<std::intptr_t>(&buffer[0]));
    s.currentFileName = fromUtf16(buffer.c_str());
    pluginLog("getFileName", ": currentFileName = " + s.currentFileName);
    return s.currentFileName;
}

namespace {

constexpr std::intptr_t kMaxPathChars = 32767;

// Paths as Windows compares them: letters in either case, "\\" or "/".
std::string pathKey(std::string_view path) {
    std::string key = lowerAscii(path);
    std::replace(key.begin(), key.end(), '/', '\\');
    return key;
}

// The full path of the document the view (0 main, 1 second) shows, from the
// host's list of open documents; empty when the host cannot tell.
std::string shownDocumentPath(int view) {
    const WindowHandle host = pluginState().npp._nppHandle;
    const std::intptr_t index = send(host, npp::NPPM_GETCURRENTDOCINDEX, 0, view);
    if (index < 0) return {};
    const std::intptr_t id =
        send(host, npp::NPPM_GETBUFFERIDFROMPOS, static_cast<std::uintptr_t>(index), view);
    if (id == 0) return {};
    const std::intptr_t length =
        send(host, npp::NPPM_GETFULLPATHFROMBUFFERID, static_cast<std::uintptr_t>(id), 0);
    if (length <= 0 || length > kMaxPathChars) return {};
    std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
    send(host, npp::NPPM_GETFULLPATHFROMBUFFERID, static_cast<std::uintptr_t>(id),
         reinterpret_cast<std::intptr_t>(&buffer[0]));
    return fromUtf16(buffer.c_str());
}

WindowHandle viewHandle(int view) {
    const zrt_NppData& npp = pluginState().npp;
    return view ? npp._scintillaSecondHandle : npp._scintillaMainHandle;
}

}  // namespace

bool hasUnsavedChanges(const std::string& path) {
    const std::string key = pathKey(path);
    bool hostTells = false;
    for (int view = 0; view < 2; ++view) {
        const std::string shown = shownDocumentPath(view);
        if (shown.empty()) continue;
        hostTells = true;
        if (pathKey(shown) == key) return send(viewHandle(view), npp::SCI_GETMODIFY) != 0;
    }
    if (!hostTells) return true;
    return pluginState().unsavedDocuments.count(key) != 0;
}

void savePointChanged(WindowHandle view, bool left) {
    const int index = view == viewHandle(0) ? 0 : view == viewHandle(1) ? 1 : -1;
    if (index < 0) return;
    const std::string shown = shownDocumentPath(index);
    if (shown.empty()) return;
    auto& unsaved = pluginState().unsavedDocuments;
    if (left) {
        unsaved.insert(pathKey(shown));
    } else {
        unsaved.erase(pathKey(shown));
    }
}

std::string getCurrentLineText() {
    const int line = getCurLineNr(false) - 1;
    const WindowHandle view = pluginState().currentView;
    // SCI_GETLINE writes no terminating zero: the zeroed buffer has it.
    const std::intptr_t length = send(view, npp::SCI_LINELENGTH, static_cast<std::uintptr_t>(line));
    std::string bytes;
    if (readable(length)) {
        std::vector<char> buffer = readBuffer(length);
        send(view, npp::SCI_GETLINE, static_cast<std::uintptr_t>(line),
             reinterpret_cast<std::intptr_t>(buffer.data()));
        bytes = bytesUpToZero(buffer, static_cast<std::size_t>(length));
    }
    const std::string text = fromDocument(view, bytes);
    pluginLog("zrtE_CurLineToWnd", ": LineText= " + text);
    return text;
}

std::intptr_t searchInTarget(WindowHandle view, std::intptr_t start, std::intptr_t end, int flags,
                             std::string_view text) {
    const std::string needle = toDocument(view, text);
    send(view, npp::SCI_SETTARGETSTART, static_cast<std::uintptr_t>(start));
    send(view, npp::SCI_SETTARGETEND, static_cast<std::uintptr_t>(end));
    send(view, npp::SCI_SETSEARCHFLAGS, static_cast<std::uintptr_t>(flags));
    return send(view, npp::SCI_SEARCHINTARGET, needle.size(),
                reinterpret_cast<std::intptr_t>(needle.c_str()));
}

std::string getExpression(bool* searchStopped) {
    if (searchStopped) *searchStopped = false;
    const WindowHandle view = getEdit();
    const std::intptr_t caret = send(view, npp::SCI_GETCURRENTPOS);
    std::intptr_t line = send(view, npp::SCI_LINEFROMPOSITION, static_cast<std::uintptr_t>(caret));
    // The expression ends at the caret: nothing after it counts.
    std::intptr_t end = caret;
    std::intptr_t found = -1;
    const CommandInfo* commands = commandTable();
    constexpr int kKeywordsTried = 21;
    std::uint64_t searched = 0;
    for (; line >= 0; --line) {
        const std::intptr_t start =
            send(view, npp::SCI_POSITIONFROMLINE, static_cast<std::uintptr_t>(line));
        if (start < 0 || start > end) continue;
        searched += std::uint64_t(end - start) * (kKeywordsTried + 1);
        if (searched > kMaxExpressionSearch) {
            pluginLog("getExpression", ": no keyword within " + std::to_string(caret - start) +
                                           " bytes before the caret; the search stops there");
            if (searchStopped) *searchStopped = true;
            return {};
        }
        // Text after a quote is a comment.
        const std::intptr_t quote = searchInTarget(view, start, end, npp::kScFindWholeWord, "'");
        if (quote >= start && quote > 0) end = quote;
        for (int k = 0; k < kKeywordsTried && k < kCommandCount; ++k) {
            const std::intptr_t at =
                searchInTarget(view, start, end, npp::kScFindWholeWord, commands[k].name);
            if (at >= 0) {
                found = at;
                break;
            }
        }
        if (found >= 0) break;
    }
    if (found < 0 || found > caret) {
        pluginLog("getExpression", ": no keyword before the caret");
        return {};
    }
    const std::string text = fromDocument(view, textRange(view, found, caret));
    pluginLog("getExpression", ": Expression = " + text);
    return text;
}

std::string trimLineBreaksAndBlanks(std::string_view text) {
    // Trimming line breaks, then blanks, in turns until nothing changes,
    // leaves the text between the longest runs of "\r\n" and " " at both ends;
    // found in one pass, a text of many such turns costs no more than another.
    std::size_t b = 0, e = text.size();
    for (;;) {
        if (e - b >= 2 && text[b] == '\r' && text[b + 1] == '\n') {
            b += 2;
        } else if (b < e && text[b] == ' ') {
            ++b;
        } else {
            break;
        }
    }
    for (;;) {
        if (e - b >= 2 && text[e - 2] == '\r' && text[e - 1] == '\n') {
            e -= 2;
        } else if (e > b && text[e - 1] == ' ') {
            --e;
        } else {
            break;
        }
    }
    return std::string(text.substr(b, e - b));
}

int InsertResult(const std::string& result, bool newLine) {
    PluginState& s = pluginState();
    std::string text = trimLineBreaksAndBlanks(result);
    if (text.empty()) {
        platform::messageBox("No output!", "Evaluator");
        return 0;
    }
    const WindowHandle view = getEdit();
    if (newLine && !endsWith(text, "\r\n")) text += "\r\n";
    int mark = 1;
    const std::intptr_t pos = getInsertPos(&mark);
    const bool hide = s.hideExprLineF;
    if (hide && batchFlags().noLnExpF) {
        const std::string_view tail =
            std::string_view(text).substr(text.size() > 4 ? text.size() - 4 : 0);
        // The result then reads as the end of the expression's line.
        if (tail.find('=') == std::string_view::npos) text = " = " + text;
    }
    if (mark == 1) {
        if (!startsWith(text, "\r\n") && !hide) text = "\r\n" + text;
    } else if (!endsWith(text, "\r\n")) {
        text += "\r\n";
    }
    const std::string bytes = toDocument(view, withDocumentLineEnds(view, text));
    send(view, npp::SCI_GOTOPOS, static_cast<std::uintptr_t>(pos));
    send(view, npp::SCI_INSERTTEXT, static_cast<std::uintptr_t>(-1),
         reinterpret_cast<std::intptr_t>(bytes.c_str()));
    pluginLog("InsertResult", ": inserted at " + std::to_string(pos) + ": '" + text + "'");
    return 0;
}

void showCallTip(WindowHandle view, std::intptr_t position, const std::string& text) {
    PluginState& s = pluginState();
    cancelOwnCallTip();
    // Call tips break lines at "\n" only.
    std::string tip;
    tip.reserve(text.size());
    for (char c : text)
        if (c != '\r') tip += c;
    const std::string bytes = toDocument(view, tip);
    send(view, npp::SCI_CALLTIPSHOW, static_cast<std::uintptr_t>(position),
         reinterpret_cast<std::intptr_t>(bytes.c_str()));
    s.ownTipShown = true;
    s.tipView = view;
    s.lastTipTick = platform::tickCount();
}

void cancelOwnCallTip() {
    PluginState& s = pluginState();
    if (!s.ownTipShown) return;
    s.ownTipShown = false;
    const WindowHandle view = s.tipView ? s.tipView : s.npp._scintillaMainHandle;
    s.tipView = nullptr;
    if (send(view, npp::SCI_CALLTIPACTIVE)) send(view, npp::SCI_CALLTIPCANCEL);
}

}  // namespace zrt
