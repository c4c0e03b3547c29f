// File names as the batch side sees them: "\" and "/" both separate folders on
// every platform; a name "has a drive" when its second character is ":" (or,
// on Linux, when it starts with a separator).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zrt {

bool isSeparator(char c);

// True for "C:..." and, on Linux, for names starting with "\" or "/".
bool hasDrive(std::string_view name);

// The folder part including its final separator ("" when there is none).
std::string folderOf(std::string_view name);

// Puts `folder` in front of a name that has no drive; folder gets a final
// separator when it lacks one. Empty names stay empty.
std::string completeName(std::string_view name, std::string_view folder);

// The separator this platform writes into names it builds.
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// Appends the separator when the text does not end with one.
std::string withFinalSeparator(std::string_view folder);

// A name with this platform's separators (names arrive with "\" from
// parameter lines; on Linux they are shown and stored with "/").
std::string nativeName(std::string_view name);

// The name as the operating system wants it (UTF-8 to a filesystem path; on
// Linux every "\" becomes "/").
std::filesystem::path osPath(std::string_view name);

// Checks and changes on the file system; false on any error.
bool isFolder(std::string_view name);
bool isRegularFile(std::string_view name);
bool pathExists(std::string_view name);
bool makeFolders(std::string_view name);  // true when the folder exists afterwards
bool removeFile(std::string_view name);

// Writes UTF-8 text: append (the file must exist) or create/replace (through a
// temporary file, so a failed write leaves the old file as it was).
enum class WriteResult { Ok, CannotOpen, CannotWrite };
WriteResult writeTextFile(std::string_view name, std::string_view text, bool append);

}  // namespace zrt
