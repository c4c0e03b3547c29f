#include "arguments.h"

#include <filesystem>
#include <system_error>

#include "platform/paths.h"
#include "script/flags.h"

namespace quillet {

namespace {

// The parameter entry of an argument: its first piece as the parameter line
// will hold it (the tool puts a blank after every argument).
const zrt::Parameter* parameterOf(const std::string& arg) {
    if (arg.size() < 2 || arg[0] != '/') return nullptr;
    const std::size_t next = arg.find('/', 1);
    return zrt::parameterKey(next == std::string::npos ? arg.substr(1) + " "
                                                       : arg.substr(1, next - 1));
}

bool isOption(const std::string& arg) {
    return arg == "-" || arg == "-e" || arg.rfind("--", 0) == 0;
}

// Arguments that end a text gathered from several arguments.
bool endsText(const std::string& arg) {
    return parameterOf(arg) != nullptr || isOption(arg);
}

std::string trimmed(const std::string& text) {
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(' ') + 1 - b);
}

class Reader {
   public:
    explicit Reader(const std::vector<std::string>& args) : args_(args) {}

    Invocation read() {
        for (i_ = 0; i_ < args_.size() && inv_.fault.empty(); ++i_) take(args_[i_]);
        for (const std::string& piece : inputs_) add(piece);
        if (inv_.hasFormula && (inv_.fromStdin || inv_.otherInput || fileInput_) &&
            inv_.fault.empty())
            inv_.fault = "-e takes no other input (/i, /sel, /gclp, - or a file)";
        return inv_;
    }

   private:
    void add(const std::string& piece) {
        if (!inv_.line.empty()) inv_.line += ' ';
        inv_.line += piece;
    }

    bool hasNext() const { return i_ + 1 < args_.size(); }

    // The following arguments up to the next parameter or option, joined with blanks.
    std::string gather(std::string text) {
        while (hasNext() && !endsText(args_[i_ + 1])) {
            if (!text.empty()) text += ' ';
            text += args_[++i_];
        }
        return text;
    }

    void take(const std::string& arg) {
        if (arg == "--help" || arg == "-h") {
            inv_.help = true;
        } else if (arg == "--version") {
            inv_.version = true;
        } else if (arg == "--strict") {
            inv_.strict = true;
        } else if (arg == "-") {
            inv_.fromStdin = true;
        } else if (arg == "-e") {
            if (!hasNext()) {
                inv_.fault = "-e needs a formula";
                return;
            }
            inv_.hasFormula = true;
            inv_.formula = gather(args_[++i_]);
        } else if (const zrt::Parameter* key = parameterOf(arg)) {
            parameter(arg, *key);
        } else if (!fileInput_ && !inv_.otherInput && !inv_.fromStdin && arg.rfind("--", 0) != 0 &&
                   zrt::isRegularFile(arg)) {
            // A file named alone runs as "/i FILE".
            fileInput_ = true;
            add("/i " + fileArgument(arg));
        } else {
            inv_.fault = arg.rfind("--", 0) == 0 ? "unknown option " + arg
                         : zrt::isRegularFile(arg)
                             ? "\"" + arg + "\" is no parameter (the input is given already)"
                             : "\"" + arg + "\" is neither a parameter nor a file";
        }
    }

    void parameter(const std::string& arg, const zrt::Parameter& key) {
        const std::string word = arg.substr(0, 2);
        switch (key.kind) {
            case zrt::ParamKind::FileName: {
                std::string name = trimmed(arg.substr(2));
                const bool input = key.flag == &zrt::BatchFlags::inputF;
                // "/i" needs a file; "/o" and "/a" take one unless a parameter follows.
                if (name.empty() && hasNext() && (input || !endsText(args_[i_ + 1])))
                    name = args_[++i_];
                if (input && name.empty()) {
                    inv_.fault = "/i needs a file name";
                    return;
                }
                if (input)
                    fileInput_ = true;
                else
                    inv_.outputNamed = true;
                add(name.empty() ? word : word + " " + fileArgument(name));
                return;
            }
            case zrt::ParamKind::FileAfterColon: {
                const std::size_t colon = arg.find(':');
                const std::string value = colon == std::string::npos ? "" : arg.substr(colon + 1);
                add(value.empty() ? arg : arg.substr(0, colon + 1) + fileArgument(value));
                return;
            }
            case zrt::ParamKind::Selection: {
                const std::size_t colon = arg.find(':');
                std::string text = gather(arg.substr(colon == std::string::npos ? 4 : colon + 1));
                // The quotes keep every "/" of the text in the selection.
                if (text.empty() || text.front() != '\'') text = "'" + text + "'";
                inv_.otherInput = true;
                inputs_.assign(1, "/sel:" + text);
                return;
            }
            case zrt::ParamKind::Word:
                if (key.flag == &zrt::BatchFlags::getFromClpF) {
                    // An input source goes last: "/o" and "/a" would clear it.
                    inv_.otherInput = true;
                    inputs_.assign(1, arg);
                    return;
                }
                add(arg);
                return;
        }
    }

    const std::vector<std::string>& args_;
    std::size_t i_ = 0;
    Invocation inv_;
    bool fileInput_ = false;
    std::vector<std::string> inputs_;  // the /sel or /gclp piece
};

}  // namespace

std::string fileArgument(const std::string& name) {
    if (name.empty()) return name;
    std::error_code ec;
    std::filesystem::path p(name);
    if (p.is_relative()) p = std::filesystem::absolute(p, ec);
    std::string text = ec ? name : p.lexically_normal().string();
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

Invocation readArguments(const std::vector<std::string>& args) {
    return Reader(args).read();
}

}  // namespace quillet
