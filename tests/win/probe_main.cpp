#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "probe.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace probe {

namespace {

void* gLibrary = nullptr;
int gFailures = 0;
int gResults = 0;
std::string gGroup;

std::map<std::string, void (*)()>& groups() {
    static std::map<std::string, void (*)()> g;
    return g;
}

bool loadLibrary(const std::string& path) {
#ifdef _WIN32
    const ZString wide = Z(path);
    gLibrary = reinterpret_cast<void*>(LoadLibraryW(reinterpret_cast<const wchar_t*>(wide.c_str())));
#else
    gLibrary = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    return gLibrary != nullptr;
}

std::vector<std::string> exportNames(const std::string& defPath) {
    std::ifstream in(defPath);
    std::vector<std::string> names;
    std::string line;
    bool inExports = false;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == ';') continue;
        if (first == "EXPORTS") {
            inExports = true;
        } else if (inExports) {
            names.push_back(first);
        }
    }
    return names;
}

#ifdef _WIN32
// Nobody sits at the Wine display: a message box the library shows is answered
// (Yes where it asks, else OK) and reported on standard error.
BOOL CALLBACK answerBox(HWND hwnd, LPARAM) {
    wchar_t cls[16] = {0};
    GetClassNameW(hwnd, cls, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && std::wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
        wchar_t title[256] = {0};
        GetWindowTextW(hwnd, title, 256);
        std::fwprintf(stderr, L"answered a message box: %ls\n", title);
        const int button = GetDlgItem(hwnd, IDYES) ? IDYES : IDOK;
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
    return TRUE;
}

volatile LONG gWatching = 1;

DWORD WINAPI boxWatcher(LPVOID) {
    while (InterlockedCompareExchange(&gWatching, 1, 1)) {
        EnumWindows(answerBox, 0);
        Sleep(100);
    }
    return 0;
}
#endif

}  // namespace

void* symbol(const char* name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(gLibrary), name));
#else
    return dlsym(gLibrary, name);
#endif
}

ZString Z(const std::string& utf8) {
    ZString out;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        cp = extra == 0 ? c : c & (0x3F >> extra);
        ++i;
        for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        if (cp >= 0x10000) {
            out += static_cast<zrt_char>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<zrt_char>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<zrt_char>(cp);
        }
    }
    return out;
}

std::string U(const zrt_char* text) {
    std::string out;
    if (!text) return "(null)";
    for (std::size_t i = 0; text[i]; ++i) {
        char32_t cp = static_cast<char16_t>(text[i]);
        if (cp >= 0xD800 && cp <= 0xDBFF && text[i + 1]) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char16_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string U(const ZString& text) { return U(text.c_str()); }

std::string num(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

void out(const std::string& name, const std::string& value) {
    std::string v = value;
    // One line per result: line breaks are shown, not kept.
    std::string shown;
    for (char c : v) {
        if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n";
        else shown += c;
    }
    std::printf("%s.%s = %s\n", gGroup.c_str(), name.c_str(), shown.c_str());
    ++gResults;
}

void expect(bool ok, const std::string& what) {
    if (!ok) {
        ++gFailures;
        std::printf("FAIL %s: %s\n", gGroup.c_str(), what.c_str());
    }
}

void expectEq(const std::string& what, const std::string& got, const std::string& want) {
    expect(got == want, what + ": got '" + got + "', want '" + want + "'");
}

void expectNum(const std::string& what, double got, double want) {
    const bool same = got == want || (got != got && want != want);
    expect(same, what + ": got " + num(got) + ", want " + num(want));
}

std::string evalResult() {
    auto get = ZRT_FN(GetEvalResult);
    const int n = get(nullptr, 0);
    ZString buffer(static_cast<std::size_t>(n), zrt_char(' '));
    const int copied = get(&buffer[0], 1);
    expect(copied == n, "GetEvalResult copies the whole text");
    return U(buffer.c_str());
}

std::string matrixText(const Mat& m) {
    std::string t;
    for (double v : m) t += num(v) + " ";
    return t;
}

Mat columnOrder(const Mat& rowOrder, int r, int c) {
    Mat m(rowOrder.size());
    for (int i = 0; i < r; ++i)
        for (int j = 0; j < c; ++j) m[j * r + i] = rowOrder[i * c + j];
    return m;
}

Registrar::Registrar(const char* group, void (*run)()) { groups()[group] = run; }

}  // namespace probe

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    HANDLE watcher = CreateThread(nullptr, 0, probe::boxWatcher, nullptr, 0, nullptr);
#endif
    if (argc < 3) {
        std::fprintf(stderr, "usage: zrt_probe LIBRARY quillet.def\n");
        return 2;
    }
    if (!probe::loadLibrary(argv[1])) {
        std::printf("FAIL cannot load %s\n", argv[1]);
        return 1;
    }
    const std::vector<std::string> names = probe::exportNames(argv[2]);
    int resolved = 0;
    probe::gGroup = "exports";
    for (const std::string& name : names) {
        if (probe::symbol(name.c_str())) {
            ++resolved;
        } else {
            probe::expect(false, "export not found by its plain name: " + name);
        }
    }
    probe::expect(!names.empty(), "no export names read from the .def file");
    probe::out("resolved", std::to_string(resolved) + " of " + std::to_string(names.size()));
    if (resolved == static_cast<int>(names.size())) {
        for (const auto& [group, run] : probe::groups()) {
            probe::gGroup = group;
            run();
        }
    }
    if (probe::gFailures) std::printf("FAILURES: %d\n", probe::gFailures);
    // The last line: a run whose output lacks it ended early, whatever its
    // exit code says.
    std::printf("probe summary: %d results, %d failures\n", probe::gResults, probe::gFailures);
    std::fflush(stdout);
#ifdef _WIN32
    // The probe ends as a host does: the watcher stops, the library is
    // unloaded (its windows closed), and only then the process ends.
    InterlockedExchange(&probe::gWatching, 0);
    if (watcher) WaitForSingleObject(watcher, 5000);
    FreeLibrary(static_cast<HMODULE>(probe::gLibrary));
#endif
    return probe::gFailures ? 1 : 0;
}
