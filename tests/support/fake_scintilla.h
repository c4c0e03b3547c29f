// A Scintilla editing view over an in-memory document, for the fake hosts
// (the native one of the tests and the Windows test host): it answers the
// Scintilla messages the plug-in sends, as the Scintilla of either host
// generation does. Positions are byte offsets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fake {

// The two generations of Notepad++ the plug-in meets.
enum class Generation {
    // Notepad++ 8 with Scintilla 5: the plug-ins menu is "&Plugins" and the
    // host names it (NPPM_GETMENUHANDLE); SCI_GETSELTEXT, SCI_GETTEXT and
    // SCI_GETCURLINE answer lengths without the terminating zero; text ranges
    // only through SCI_GETTEXTRANGEFULL.
    Today,
    // Before Scintilla 5.1.5: "Plugins", no NPPM_GETMENUHANDLE, lengths with
    // the terminating zero, text ranges only through SCI_GETTEXTRANGE.
    Old,
};

const char* generationName(Generation generation);

// A document open in a view's tab bar but not the one the view shows.
struct OpenDocument {
    std::string path;
    std::string text;
    bool modified = false;
};
// Notepad++'s description of a language type (NPPM_GETLANGUAGEDESC), which it
// shows in the status bar's first field: "Normal text file" for 0.
std::string languageDescription(int langType);

// One Scintilla editing view.
struct View {
    std::string text;  // the document's bytes
    std::intptr_t caret = 0;
    std::intptr_t anchor = 0;
    int codePage = 65001;
    int eolMode = 0;   // 0 CR LF, 1 CR, 2 LF
    std::string path;  // the document's full path
    Generation generation = Generation::Today;
    // A host gone wrong: when set, the length queries of SCI_GETSELTEXT and
    // SCI_LINELENGTH answer this whatever the text is.
    std::optional<std::intptr_t> claimedLength;
    std::intptr_t dwellTime = 10000000;  // SC_TIME_FOREVER
    bool callTipActive = false;
    std::intptr_t callTipPos = -1;
    std::string callTip;
    std::intptr_t targetStart = 0, targetEnd = 0;
    int searchFlags = 0;
    std::vector<unsigned> unknown;  // messages this view does not answer
    bool modified = false;          // SCI_GETMODIFY: changes not saved
    // Notepad++'s tab bar of this view: the shown document is tab 0, these follow.
    std::vector<OpenDocument> otherTabs;
    int langType = 0;               // NPPM_GETCURRENTLANGTYPE while this view is current

    // Undo: each step is the insertions made between SCI_BEGINUNDOACTION and
    // SCI_ENDUNDOACTION, or one insertion outside them, or one typed text.
    struct Insertion {
        std::intptr_t at;
        std::string text;
    };
    std::vector<std::vector<Insertion>> undoSteps;
    int undoDepth = 0;

    // The user types `text` at the caret (replacing the selection is not
    // needed by the tests): one undo step, the caret after it.
    void typeText(const std::string& typed);
    // The line end Enter inserts (SCI_GETEOLMODE).
    std::string eol() const { return eolMode == 1 ? "\r" : eolMode == 2 ? "\n" : "\r\n"; }

    void select(std::intptr_t anchorPos, std::intptr_t caretPos) {
        anchor = anchorPos;
        caret = caretPos;
    }
    // Caret at the start of line `line` (0-based) plus `column` bytes.
    void caretAt(int line, int column = 0);
    std::intptr_t lineStart(std::intptr_t line) const;
    std::intptr_t lineEnd(std::intptr_t line) const;  // before the line end characters
    std::intptr_t lineOf(std::intptr_t pos) const;
    std::intptr_t lineCount() const;

    std::intptr_t handle(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // The user picks tab `k` of `otherTabs`: it is shown, the shown one joins the tabs.
    void showTab(std::size_t k);

   private:
    void insert(std::intptr_t at, const std::string& add);
    void undo();
    // `count` bytes from `from` and a terminating zero after them.
    void copyOut(char* buffer, std::intptr_t from, std::intptr_t count) const;
    // A text range as both range messages copy it; the number of bytes.
    std::intptr_t copyRange(std::intptr_t from, std::intptr_t to, char* buffer) const;
};

// Notepad++'s answers about its open documents in the views `main` and
// `second` (NPPM_GETCURRENTDOCINDEX, NPPM_GETBUFFERIDFROMPOS); true when
// `message` is one of them. Buffer ids are 1000 × (view + 1) + tab + 1.
bool answerOpenDocuments(const View& main, const View& second, unsigned message,
                         std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);
// The path of an open document by buffer id (NPPM_GETFULLPATHFROMBUFFERID);
// nullptr for an unknown id.
const std::string* openDocumentPath(const View& main, const View& second, std::uintptr_t id);

}  // namespace fake
