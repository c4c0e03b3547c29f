// Settings files, code pages, version blocks and file times on Windows.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_util.h"

namespace zrt::platform {

using win32::narrow;
using win32::wide;

std::string profileString(std::string_view section, std::string_view key,
                          std::string_view defaultText, std::string_view path, int maxChars) {
    if (maxChars <= 0) return {};
    std::wstring buf(static_cast<std::size_t>(maxChars) + 1, L'\0');
    const DWORD n = GetPrivateProfileStringW(wide(section).c_str(), wide(key).c_str(),
                                             wide(defaultText).c_str(), &buf[0],
                                             static_cast<DWORD>(maxChars), wide(path).c_str());
    return narrow(buf.c_str(), n);
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view path) {
    return WritePrivateProfileStringW(wide(section).c_str(), wide(key).c_str(), wide(value).c_str(),
                                      wide(path).c_str()) != 0;
}

void flushProfile(std::string_view path) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, wide(path).c_str());
}

bool canWriteFile(std::string_view path) {
    const std::wstring p = wide(path);
    HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    CloseHandle(h);
    if (!existed) DeleteFileW(p.c_str());
    return true;
}

std::string codePageToUtf8(std::string_view bytes, int codePage) {
    if (bytes.empty()) return {};
    if (codePage == CP_UTF8) return std::string(bytes);
    const UINT cp = codePage == 0 ? CP_ACP : static_cast<UINT>(codePage);
    const int len = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(cp, 0, bytes.data(), len, nullptr, 0);
    if (n <= 0) return std::string(bytes);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(cp, 0, bytes.data(), len, &w[0], n);
    return narrow(w);
}

std::string utf8ToCodePage(std::string_view text, int codePage) {
    if (text.empty()) return {};
    if (codePage == CP_UTF8) return std::string(text);
    const UINT cp = codePage == 0 ? CP_ACP : static_cast<UINT>(codePage);
    const std::wstring w = wide(text);
    const int len = static_cast<int>(w.size());
    const int n = WideCharToMultiByte(cp, 0, w.c_str(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, w.c_str(), len, &out[0], n, nullptr, nullptr);
    return out;
}

bool fileVersion(std::string_view path, std::string& fileVer, std::string& productVer,
                 unsigned& errorNumber) {
    const std::wstring p = wide(path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(p.c_str(), &handle);
    if (size == 0) {
        errorNumber = GetLastError();
        return false;
    }
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(p.c_str(), 0, size, block.data())) {
        errorNumber = GetLastError();
        return false;
    }
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
        len < sizeof(VS_FIXEDFILEINFO)) {
        errorNumber = ERROR_RESOURCE_TYPE_NOT_FOUND;
        return false;
    }
    auto four = [](DWORD ms, DWORD ls) {
        return std::to_string(HIWORD(ms)) + "." + std::to_string(LOWORD(ms)) + "." +
               std::to_string(HIWORD(ls)) + "." + std::to_string(LOWORD(ls));
    };
    fileVer = four(info->dwFileVersionMS, info->dwFileVersionLS);
    productVer = four(info->dwProductVersionMS, info->dwProductVersionLS);
    return true;
}

std::string fileTimeText(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) return {};
    FILETIME local{};
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !FileTimeToSystemTime(&local, &t))
        return {};
    char buf[32];
    wsprintfA(buf, "%02u/%02u/%04u %02u:%02u:%02u", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute,
              t.wSecond);
    return buf;
}

std::string tempFolder() {
    wchar_t buf[MAX_PATH + 2] = {0};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    std::string folder = n ? narrow(buf, n) : std::string("C:\\");
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

void sleepMilliseconds(unsigned milliseconds) {
    Sleep(milliseconds);
}

}  // namespace zrt::platform
