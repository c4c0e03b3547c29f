#include "platform/paths.h"

#include <fstream>
#include <system_error>

namespace zrt {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool hasDrive(std::string_view name) {
    if (name.size() >= 2 && name[1] == ':') return true;
#ifndef _WIN32
    if (!name.empty() && isSeparator(name[0])) return true;
#else
    // A UNC name (\\server\share) is complete too.
    if (name.size() >= 2 && isSeparator(name[0]) && isSeparator(name[1])) return true;
#endif
    return false;
}

std::string folderOf(std::string_view name) {
    for (std::size_t i = name.size(); i-- > 0;)
        if (isSeparator(name[i])) return std::string(name.substr(0, i + 1));
    return {};
}

std::string withFinalSeparator(std::string_view folder) {
    std::string f(folder);
    if (!f.empty() && !isSeparator(f.back())) f += kSeparator;
    return f;
}

std::string nativeName(std::string_view name) {
    std::string n(name);
#ifndef _WIN32
    for (char& c : n)
        if (c == '\\') c = '/';
#endif
    return n;
}

std::string completeName(std::string_view name, std::string_view folder) {
    if (name.empty() || hasDrive(name) || folder.empty()) return std::string(name);
    return withFinalSeparator(folder) + std::string(name);
}

std::filesystem::path osPath(std::string_view name) {
    std::string n(name);
#ifndef _WIN32
    for (char& c : n)
        if (c == '\\') c = '/';
#endif
    return std::filesystem::u8path(n);
}

bool isFolder(std::string_view name) {
    if (name.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_directory(osPath(name), ec);
}

bool pathExists(std::string_view name) {
    if (name.empty()) return false;
    std::error_code ec;
    return std::filesystem::exists(osPath(name), ec);
}

bool makeFolders(std::string_view name) {
    if (name.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(osPath(name), ec);
    return isFolder(name);
}

bool removeFile(std::string_view name) {
    if (name.empty()) return false;
    std::error_code ec;
    return std::filesystem::remove(osPath(name), ec);
}

bool isRegularFile(std::string_view name) {
    if (name.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(osPath(name), ec);
}

WriteResult writeTextFile(std::string_view name, std::string_view text, bool append) {
    if (name.empty() || isFolder(name)) return append ? WriteResult::CannotOpen : WriteResult::CannotWrite;
    const std::filesystem::path path = osPath(name);
    if (append) {
        if (!isRegularFile(name)) return WriteResult::CannotOpen;
        std::ofstream out(path, std::ios::binary | std::ios::app);
        if (!out) return WriteResult::CannotOpen;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        return out ? WriteResult::Ok : WriteResult::CannotWrite;
    }
    std::filesystem::path temp = path;
    temp += ".quillet-tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return WriteResult::CannotWrite;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return WriteResult::CannotWrite;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return WriteResult::CannotWrite;
    }
    return WriteResult::Ok;
}

}  // namespace zrt
