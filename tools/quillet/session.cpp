#include "session.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "evaluator/evaluator.h"
#include "evaluator/functions.h"
#include "base/numtext.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "platform/headless/headless.h"
#include "results.h"
#include "script/flags.h"
#include "script/interpreter.h"
#include "script/screens.h"
#include "ui/matrixprint.h"
#include "log/version.h"

#ifdef QUILLET_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

namespace quillet {

namespace {

constexpr const char* kPrompt = "quillet> ";

const char* const kHelp =
    "Each line runs as one script line; a formula without a command word runs as\n"
    "Expr = formula. What Var, Funct, Matr, StoExpr ... store stays for the next lines.\n"
    "  :help     this text\n"
    "  :mem      the variables, functions and matrices in memory\n"
    "  :reset    clear the memory\n"
    "  :dec N    show results with N decimals\n"
    "  :quit     end the session (Ctrl+D too)\n"
    "Tab completes command words, built-in functions, constants and the names in memory.\n";

// $XDG_STATE_HOME/quillet/history, else ~/.local/state/quillet/history; "" when
// neither variable is set.
std::string historyFile() {
    std::filesystem::path dir;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state) {
        dir = state;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        dir = std::filesystem::path(home) / ".local" / "state";
    } else {
        return {};
    }
    dir /= "quillet";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return (dir / "history").string();
}

// Every word the completion offers: command words, built-in functions,
// constants and the names stored in memory.
std::vector<std::string> completionWords() {
    std::vector<std::string> words;
    const zrt::CommandInfo* commands = zrt::commandTable();
    for (int k = 0; k < zrt::kCommandCount; ++k) words.emplace_back(commands[k].name);
    for (const zrt::BuiltinName& b : zrt::builtinFunctionNames()) words.emplace_back(b.name);
    for (std::string_view c : zrt::constantNames()) words.emplace_back(c);
    for (zrt::ListKind kind : {zrt::ListKind::Vars, zrt::ListKind::Functs})
        for (const zrt::VarEntry& e : zrt::varEntries(kind)) words.push_back(e.key);
    for (const std::string& m : zrt::matrixNames()) words.push_back(m);
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    return words;
}

#ifdef QUILLET_HAVE_LIBEDIT

char* completionMatch(const char* text, int state) {
    static std::vector<std::string> words;
    static std::size_t next = 0;
    if (state == 0) {
        words = completionWords();
        next = 0;
    }
    const std::string prefix = zrt::lowerAscii(text);
    while (next < words.size()) {
        const std::string& w = words[next++];
        if (zrt::lowerAscii(w).compare(0, prefix.size(), prefix) == 0) return strdup(w.c_str());
    }
    return nullptr;
}

char** completeWord(const char* text, int, int) {
    rl_attempted_completion_over = 1;  // no file names
    return rl_completion_matches(text, completionMatch);
}

char* noMatch(const char*, int) {
    return nullptr;
}

class LineReader {
   public:
    LineReader() : history_(historyFile()) {
        static char breaks[] = " \t\n=;,()+-*/\\^<>[]&|!";
        rl_readline_name = "quillet";
        rl_completer_word_break_characters = breaks;
        rl_attempted_completion_function = completeWord;
        rl_completion_entry_function = noMatch;
        rl_completion_append_character = 0;
        // Ctrl+D ends the session whatever the line holds: a key typed while
        // the terminal still was in line mode reaches the editor as a stray
        // character, and the usual "delete or end" binding then never ends.
        rl_initialize();
        rl_parse_and_bind("bind ^D ed-end-of-file");
        stifle_history(1000);
        if (!history_.empty()) read_history(history_.c_str());
    }
    ~LineReader() {
        if (!history_.empty()) write_history(history_.c_str());
    }
    bool read(std::string& line) {
        char* text = readline(kPrompt);
        if (!text) return false;
        line = text;
        std::free(text);
        if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
        return true;
    }

   private:
    std::string history_;
};

#else

// Without libedit: plain lines, no history and no completion.
class LineReader {
   public:
    bool read(std::string& line) {
        std::fputs(kPrompt, stdout);
        std::fflush(stdout);
        return static_cast<bool>(std::getline(std::cin, line));
    }
};

#endif

std::string trimmed(const std::string& text) {
    const std::size_t b = text.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(" \t\r") + 1 - b);
}

void setDecimals(const std::string& value) {
    int n = -1;
    const auto r = std::from_chars(value.data(), value.data() + value.size(), n);
    if (value.empty() || r.ec != std::errc() || r.ptr != value.data() + value.size() || n < 0 ||
        n > zrt::kMaxPrintedDecimals) {
        std::printf(":dec needs a number from 0 to %d (now %d)\n", zrt::kMaxPrintedDecimals,
                    zrt::batchFlags().decimals);
        return;
    }
    zrt::batchFlags().decimals = n;
    std::printf("Results with %d decimals\n", n);
}

// A session command (":..."); false when the session ends.
bool sessionCommand(const std::string& line) {
    const std::size_t blank = line.find(' ');
    const std::string word = zrt::lowerAscii(line.substr(0, blank));
    const std::string value = blank == std::string::npos ? "" : trimmed(line.substr(blank));
    if (word == ":quit" || word == ":q") return false;
    if (word == ":help") {
        std::fputs(kHelp, stdout);
    } else if (word == ":mem") {
        std::fputs(zrt::headless::lfLines(zrt::memoryScreen()).c_str(), stdout);
    } else if (word == ":reset") {
        zrt::ReSetZeRarove();
        std::puts("Memory cleared");
    } else if (word == ":dec") {
        setDecimals(value);
    } else {
        std::printf("Unknown session command %s (:help lists them)\n", word.c_str());
    }
    return true;
}

void evaluate(const std::string& line) {
    zrt::ScriptOptions options;
    options.bare = true;
    options.quiet = true;
    const zrt::ScriptResult r = zrt::sEval(asScriptLine(line), options);
    int errors = 0;
    std::fputs(lineResults(r.output, errors).c_str(), stdout);
}

}  // namespace

int runSession() {
    std::printf(
        "Quillet %s: type a formula or a script line; :help for help, :quit or Ctrl+D to end.\n",
        zrt::libraryFileVersion().c_str());
    LineReader reader;
    std::string line;
    while (true) {
        std::fflush(stdout);
        if (!reader.read(line)) {
            std::putchar('\n');
            break;
        }
        line = trimmed(line);
        if (line.empty()) continue;
        if (line[0] == ':') {
            if (!sessionCommand(line)) break;
            continue;
        }
        evaluate(line);
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace quillet
