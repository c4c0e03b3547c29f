#include "platform/headless/desktop_clipboard.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "base/limits.h"

namespace zrt::headless {

namespace {

struct ClipboardTool {
    const char* display;  // the variable that names the session's display
    std::vector<const char*> read;
    std::vector<const char*> write;
};

const ClipboardTool kTools[] = {
    {"WAYLAND_DISPLAY", {"wl-paste", "--no-newline"}, {"wl-copy"}},
    {"DISPLAY", {"xclip", "-o", "-selection", "clipboard"}, {"xclip", "-selection", "clipboard"}},
};

std::string onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string dirs = path;
    std::size_t from = 0;
    while (from <= dirs.size()) {
        std::size_t to = dirs.find(':', from);
        if (to == std::string::npos) to = dirs.size();
        const std::string dir = to > from ? dirs.substr(from, to - from) : ".";
        const std::string candidate = dir + "/" + program;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return candidate;
        from = to + 1;
    }
    return {};
}

// The command for this session: the first tool whose display is set and which
// is installed; empty with `fault` set when there is none.
std::vector<std::string> clipboardCommand(bool reading, std::string& fault) {
    bool anyDisplay = false;
    for (const ClipboardTool& tool : kTools) {
        const char* display = std::getenv(tool.display);
        if (!display || !*display) continue;
        anyDisplay = true;
        const auto& words = reading ? tool.read : tool.write;
        const std::string program = onPath(words[0]);
        if (program.empty()) continue;
        std::vector<std::string> command{program};
        command.insert(command.end(), words.begin() + 1, words.end());
        return command;
    }
    fault = anyDisplay ? "no clipboard tool: install wl-clipboard (Wayland) or xclip (X)"
                       : "no clipboard: there is no desktop session (neither WAYLAND_DISPLAY "
                         "nor DISPLAY is set)";
    return {};
}

// Runs the command with `input` on its standard input (write) or collecting
// its standard output into `output` (read). The exit status, or -1.
int runTool(const std::vector<std::string>& command, std::string_view input, std::string* output) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
        // A writing tool stays behind to serve the clipboard: it must hold none
        // of this program's output streams open.
        dup2(output ? null : fds[0], 0);
        dup2(output ? fds[1] : null, 1);
        if (!output) dup2(null, 2);
        std::vector<char*> argv;
        for (const std::string& w : command) argv.push_back(const_cast<char*>(w.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (output) {
        close(fds[1]);
        char buf[65536];
        for (;;) {
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            if (output->size() + static_cast<std::size_t>(n) <= kMaxClipboardText)
                output->append(buf, static_cast<std::size_t>(n));
        }
        close(fds[0]);
    } else {
        close(fds[0]);
        // A tool that ends early must not end this program with SIGPIPE.
        struct sigaction ignore {
        }, old{};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, &old);
        std::size_t done = 0;
        while (done < input.size()) {
            const ssize_t n = write(fds[1], input.data() + done, input.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        close(fds[1]);
        sigaction(SIGPIPE, &old, nullptr);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool useTool(bool reading, std::string_view input, std::string* output, std::string& fault) {
    const std::vector<std::string> command = clipboardCommand(reading, fault);
    if (command.empty()) return false;
    const int status = runTool(command, input, output);
    if (status == 0) return true;
    const std::string name = command[0].substr(command[0].rfind('/') + 1);
    fault = name + (reading ? " could not read" : " could not write") +
            " the clipboard (exit status " + std::to_string(status) + ")";
    return false;
}

}  // namespace

bool readDesktopClipboard(std::string& text, std::string& fault) {
    text.clear();
    return useTool(true, {}, &text, fault);
}

bool writeDesktopClipboard(std::string_view text, std::string& fault) {
    return useTool(false, text, nullptr, fault);
}

}  // namespace zrt::headless
