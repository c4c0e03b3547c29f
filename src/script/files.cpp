#include "script/files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/strings.h"
#include "base/text16.h"
#include "base/numtext.h"
#include "platform/platform.h"
#include "script/batchrun.h"
#include "script/flags.h"
#include "platform/paths.h"

namespace zrt {

namespace {

constexpr const char* kDialogTitle = "Open File";
constexpr const char* kDialogFilter = "Text (*.txt)|*.txt|All files (*.*)|*.*";

void showFileMessage(const std::string& text) {
    platform::messageBox(text, "Quillet", platform::Buttons::Ok, platform::Icon::Exclamation);
}

bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra;
        if (c < 0x80) {
            extra = 0;
        } else if (c >= 0xC2 && c < 0xE0) {
            extra = 1;
        } else if (c >= 0xE0 && c < 0xF0) {
            extra = 2;
        } else if (c >= 0xF0 && c < 0xF5) {
            extra = 3;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k)
            if (i + static_cast<std::size_t>(k) >= s.size() ||
                (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// Every line followed by "\r\n", whatever ended it in the file (CR LF, LF, CR).
std::string normaliseLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32 + 2);
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        out.append(text.substr(start, i - start));
        out += "\r\n";
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) {
        out.append(text.substr(start));
        out += "\r\n";
    }
    return out;
}

bool readInto(std::string_view name, std::string& text, const std::string& failure) {
    std::string bytes, refusal;
    if (!readFileBytes(name, bytes, &refusal)) {
        showFileMessage(refusal.empty() ? failure + std::string(name) : refusal);
        return false;
    }
    if (!decodeTextFile(bytes, text, refusal)) {
        showFileMessage(refusal.empty() ? failure + std::string(name) : refusal);
        text.clear();
        return false;
    }
    return true;
}

}  // namespace

bool readFileBytes(std::string_view name, std::string& bytes, std::string* refusal) {
    if (name.empty() || isFolder(name)) return false;
    std::ifstream in(osPath(name), std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    // A script is a few KB; a file of hundreds of MB named by mistake must not
    // take the memory of the editor's process.
    if (size > kMaxTextFile) {
        if (refusal)
            *refusal = "The file has " + std::to_string(size) + " bytes, more than the " +
                       std::to_string(kMaxTextFile) + " a script or text file may have:\r\n" +
                       std::string(name);
        return false;
    }
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(&bytes[0], static_cast<std::streamsize>(size))) return false;
    return true;
}

bool decodeTextFile(std::string_view bytes, std::string& text, std::string& refusal) {
    static const std::string kUnable =
        "\r\nUnable to convert the file. Try to save it in ASCII, UTF8 or Unicode format.";
    if (startsWith(bytes, std::string("\xFF\xFE\x00\x00", 4))) {
        refusal = "UTF-32 (little endian) BOM detected." + kUnable;
        return false;
    }
    if (startsWith(bytes, std::string("\x00\x00\xFE\xFF", 4))) {
        refusal = "UTF-32 (big endian) BOM detected." + kUnable;
        return false;
    }
    if (startsWith(bytes, "\xFE\xFF")) {
        refusal = "UTF-16 (big endian) BOM detected." + kUnable;
        return false;
    }
    std::string utf8;
    if (startsWith(bytes, "\xFF\xFE")) {
        std::u16string units((bytes.size() - 2) / 2, u'\0');
        for (std::size_t i = 0; i < units.size(); ++i)
            units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                             (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8));
        utf8 = fromUtf16(units);
    } else {
        const bool marked = startsWith(bytes, "\xEF\xBB\xBF");
        const std::string_view body = marked ? bytes.substr(3) : bytes;
        // Zero bytes do not occur in text: such a file is not a script.
        if (body.find('\0') != std::string_view::npos) {
            refusal.clear();
            return false;
        }
        // Without a mark: UTF-8 when the bytes are valid UTF-8 (what editors
        // save today), else 8-bit text in the system code page.
        utf8 = marked || validUtf8(body) ? std::string(body) : platform::ansiToUtf8(body);
    }
    if (utf8.find('\0') != std::string::npos) {
        refusal.clear();
        return false;
    }
    text = normaliseLines(utf8);
    return true;
}

int LoadSaveFile(FileMode mode) {
    BatchRun& run = batchRun();
    const BatchFlags& f = batchFlags();
    std::string text;
    switch (mode) {
        case FileMode::ReadInput:
        case FileMode::ReadLog:
        case FileMode::ReadCommands: {
            std::string name, failure;
            if (mode == FileMode::ReadInput) {
                name = f.InpFN;
                failure = "Error 4: can't read the file\r\n";
            } else if (mode == FileMode::ReadLog) {
                name = f.logFileN;
                failure = "Error 7: can't read the file\r\n";
            } else {
                name = withFinalSeparator(f.CurDir) + "ShowCmds.zrt";
                failure = "Error 8: can't read the file\r\n";
            }
            std::string bytes, refusal;
            if (!readFileBytes(name, bytes, &refusal)) {
                showFileMessage(refusal.empty() ? failure + name : refusal);
                return run.exitCode = kExitNotRead;
            }
            if (!decodeTextFile(bytes, text, refusal)) {
                showFileMessage(refusal.empty() ? failure + name : refusal);
                run.scriptText.clear();
                return run.exitCode = kExitNotRead;
            }
            run.scriptText = std::move(text);
            return kExitCompleted;
        }
        case FileMode::ReadDialog: {
            const std::string name = platform::openFileDialog(kDialogTitle, kDialogFilter);
            if (name.empty()) {
                showFileMessage("Error 1: Operation cancelled by user.");
                return run.exitCode = kExitCancelled;
            }
            if (!readInto(name, text, "Error 4: can't read the file\r\n"))
                return run.exitCode = kExitNotRead;
            run.scriptText = std::move(text);
            return kExitCompleted;
        }
        case FileMode::WriteOutput: {
            const WriteResult r = writeTextFile(f.OutpFN, run.scriptText, f.AppendF);
            if (r == WriteResult::Ok) return run.exitCode = kExitCompleted;
            showFileMessage((r == WriteResult::CannotOpen ? "Error 5: can't open the file\r\n"
                                                          : "Error 9: can't write the file\r\n") +
                            f.OutpFN);
            return run.exitCode = kExitNotWritten;
        }
        case FileMode::WriteDialog: {
            const std::string name = platform::saveFileDialog(kDialogTitle, kDialogFilter);
            if (name.empty()) {
                showFileMessage("Error 1: Operation cancelled by user.");
                return run.exitCode = kExitCancelled;
            }
            if (writeTextFile(name, run.scriptText, false) != WriteResult::Ok) {
                showFileMessage("Error 3: can't write the file\r\n" + name);
                return run.exitCode = kExitNotWritten;
            }
            return run.exitCode = kExitCompleted;
        }
    }
    return run.exitCode;
}

std::string fileRoutine(std::string_view nameIn, std::string_view modeIn, std::string_view text,
                        bool* ok) {
    const BatchFlags& f = batchFlags();
    std::string name(trimBlanks(nameIn));
    if (!hasDrive(name)) {
        std::error_code ec;
        const std::string cwd = batchRun().runMode > 1
                                    ? std::filesystem::current_path(ec).u8string()
                                    : f.CurDir;
        name = completeName(name, cwd);
    }
    const std::string mode = lowerAscii(modeIn);
    if (ok) *ok = false;
    if (mode == "fileinp") {
        std::string content;
        if (!readInto(name, content, "Error 3: Couldn't open the file!\r\n")) {
            batchRun().exitCode = kExitNotRead;
            return {};
        }
        if (ok) *ok = true;
        return content;
    }
    if (mode == "fileout") {
        if (writeTextFile(name, text, false) != WriteResult::Ok) {
            showFileMessage("Error 1: can't write the file.\r\n" + name);
            batchRun().exitCode = kExitNotWritten;
            return {};
        }
        if (ok) *ok = true;
    }
    return {};
}

}  // namespace zrt
