// Access to the editor: the host's current editing view, its selection, lines
// and file name, searches, and the insertion of results. Text crosses in the
// document's own code page (UTF-8 for today's documents, the ANSI code page
// for ANSI documents); positions are byte offsets.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/limits.h"
#include "platform/platform.h"

namespace zrt {

// The view the host works in (the second view when NPPM_GETCURRENTSCINTILLA says 1).
platform::WindowHandle getEdit();

// Selected text of the current view (also kept in the plug-in state).
std::string getSelection();

// 1-based line of the selection start (or end); its column through `column`.
int getCurLineNr(bool selectionEnd, int* column = nullptr);

// End of the line holding the selection end; `emptyLineMark` gets -1 for an
// empty line, else 1.
std::intptr_t getInsertPos(int* emptyLineMark);

// Full path of the current document.
std::string getFileName();

// Whether the host has the document `path` open with changes not saved. The
// view that shows it answers (SCI_GETMODIFY); for a document in a tab that is
// not shown, the save-point notifications of the views tell. A host that
// cannot say what its views show gets "yes": one question too many loses
// nothing, a reload without one may lose what the user typed.
bool hasUnsavedChanges(const std::string& path);

// A view reports that its document left (`left`) or reached its save point.
void savePointChanged(platform::WindowHandle view, bool left);

// The text of the line holding the caret, line end included.
std::string getCurrentLineText();

// Position of `text` in [start, end] of `view`, or -1.
std::intptr_t searchInTarget(platform::WindowHandle view, std::intptr_t start, std::intptr_t end,
                             int flags, std::string_view text);

// The expression ending at the caret, from the nearest script keyword before it.
// Each line further up searches the whole range from it to the caret again:
// the walk stops, with nothing found and `searchStopped` set, once the
// searches would go through more than kMaxExpressionSearch characters.
std::string getExpression(bool* searchStopped = nullptr);

// Document text <-> UTF-8 in the view's code page.
std::string fromDocument(platform::WindowHandle view, std::string_view bytes);
std::string toDocument(platform::WindowHandle view, std::string_view text);

// Leading and trailing line breaks and blanks removed, in any mix.
std::string trimLineBreaksAndBlanks(std::string_view text);

// InsertResult: puts a result below the line of the selection end (with
// `newLine`) or at its end. Returns 0.
int InsertResult(const std::string& text, bool newLine);

// Shows a call tip in `view` at `position` (our own tip; it is cancelled on
// dwell end and after nine seconds).
void showCallTip(platform::WindowHandle view, std::intptr_t position, const std::string& text);
void cancelOwnCallTip();

}  // namespace zrt
