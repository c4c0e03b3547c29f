// Whole text files of the batch side: the input script, the log and commands
// screens, the output file, files chosen in dialogs, and the file forms of the
// script commands. Reading detects the encoding from the byte-order mark;
// writing produces UTF-8 without a mark.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/limits.h"

namespace zrt {

enum class FileMode : int {
    ReadDialog = 4,   // read a file chosen in an open dialog
    ReadLog = 1,      // the log file of the log screen
    ReadCommands = 2, // "ShowCmds.zrt" in the plug-in folder
    ReadInput = 6,    // the input script
    WriteOutput = 7,  // the output file (append or create)
    WriteDialog = 8,  // the script text to a file chosen in a save dialog
};

// LoadSaveFile: reads into / writes from the shared script text. Returns -1
// when the file was read or written; a failure returns and stores in the
// run's exit code -2 (not read), -3 (not written) or -4 (dialog cancelled).
int LoadSaveFile(FileMode mode);

// Decodes file bytes by their byte-order mark (UTF-8, UTF-16 LE, 8-bit) into
// UTF-8 lines each ended by "\r\n". Returns false with `refusal` set for the
// marks that cannot be read (UTF-16 BE, UTF-32), or empty for binary content
// (zero bytes), which is no script.
bool decodeTextFile(std::string_view bytes, std::string& text, std::string& refusal);

// The file routine of the script commands: "fileinp" returns the file's text,
// "fileout" writes `text`; failures show their message and set the exit code.
// `ok` tells whether it worked.
std::string fileRoutine(std::string_view name, std::string_view mode, std::string_view text,
                        bool* ok = nullptr);

// Reads a whole file as bytes; false when it cannot be opened, and false with
// `refusal` (when given) set for a file of more than kMaxTextFile bytes, which
// is not read at all.
bool readFileBytes(std::string_view name, std::string& bytes, std::string* refusal = nullptr);

}  // namespace zrt
