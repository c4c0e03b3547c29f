#include "plugin/udl.h"

#include <algorithm>

#include "base/text16.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "plugin/nppinterface.h"
#include "plugin/state.h"
#include "script/interpreter.h"
#include "log/pluginlog.h"

namespace zrt {

namespace {

void sortUnique(std::vector<std::string>& words) {
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
}

bool contains(const std::vector<std::string_view>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words) text += (text.empty() ? "" : " ") + w;
    return text;
}

// "&", "<" and ">" would end the XML text early.
std::string xmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

// One style: a colour of medium brightness reads on the light and on the
// dark theme; the background stays the theme's (colorStyle 1: foreground only).
struct Style {
    const char* name;
    const char* colour;
    int fontStyle;  // 0 plain, 1 bold, 2 italic
};
// clang-format off
const Style kStyles[] = {
    {"COMMENTS", "6A9955", 2},     {"LINE COMMENTS", "6A9955", 2},
    {"NUMBERS", "D0782A", 0},      {"KEYWORDS1", "3C8CE7", 1},
    {"KEYWORDS2", "B05AD0", 0},    {"KEYWORDS3", "C8506E", 1},
    {"KEYWORDS4", "1E9E9E", 0},    {"KEYWORDS5", "D05050", 1},
    {"KEYWORDS6", "808080", 0},    {"KEYWORDS7", "808080", 0},
    {"KEYWORDS8", "808080", 0},    {"OPERATORS", "C08A20", 1},
    {"FOLDER IN CODE1", "808080", 0}, {"FOLDER IN CODE2", "808080", 0},
    {"FOLDER IN COMMENT", "808080", 0},
    {"DELIMITERS1", "2EA07A", 0},  {"DELIMITERS2", "8C8C8C", 2},
    {"DELIMITERS3", "8C8C8C", 0},  {"DELIMITERS4", "808080", 0},
    {"DELIMITERS5", "808080", 0},  {"DELIMITERS6", "808080", 0},
    {"DELIMITERS7", "808080", 0},  {"DELIMITERS8", "808080", 0},
};
// clang-format on

std::string keywordsElement(const char* name, const std::string& words) {
    return "            <Keywords name=\"" + std::string(name) + "\">" + xmlEscaped(words) +
           "</Keywords>\r\n";
}

std::string styleElement(const Style& s) {
    return "            <WordsStyle name=\"" + std::string(s.name) + "\" fgColor=\"" + s.colour +
           "\" bgColor=\"FFFFFF\" colorStyle=\"1\" fontName=\"\" fontStyle=\"" +
           std::to_string(s.fontStyle) + "\" nesting=\"0\" />\r\n";
}

}  // namespace

UdlKeywords udlKeywords() {
    UdlKeywords k;
    k.commands = scriptCommandWords();
    const std::vector<std::string_view>& constants = lexerConstantNames();
    for (std::string_view c : constants) k.constants.emplace_back(c);
    for (const BuiltinName& b : builtinFunctionNames()) {
        // "#pi" and the plain constant names the lexer reads before functions.
        if (b.name.front() == '#' || contains(constants, b.name)) {
            k.constants.emplace_back(b.name);
        } else {
            k.functions.emplace_back(b.name);
        }
    }
    for (const LexerWord& w : lexerWords())
        (isOperatorWord(w.kind) ? k.operatorWords : k.listWords).emplace_back(w.name);
    sortUnique(k.functions);
    sortUnique(k.constants);
    sortUnique(k.listWords);
    sortUnique(k.operatorWords);
    return k;
}

std::string udlText() {
    const UdlKeywords k = udlKeywords();
    std::string t;
    t += "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n";
    t += "<!-- Quillet scripts (.zrt): made by the Quillet plug-in from its own tables. -->\r\n";
    t += "<NotepadPlus>\r\n";
    t += "    <UserLang name=\"Quillet\" ext=\"zrt\" udlVersion=\"2.1\">\r\n";
    t += "        <Settings>\r\n";
    t += "            <Global caseIgnored=\"yes\" allowFoldOfComments=\"no\" "
         "foldCompact=\"no\" forcePureLC=\"0\" decimalSeparator=\"0\" />\r\n";
    t += "            <Prefix Keywords1=\"no\" Keywords2=\"no\" Keywords3=\"no\" "
         "Keywords4=\"no\" Keywords5=\"no\" Keywords6=\"no\" Keywords7=\"no\" "
         "Keywords8=\"no\" />\r\n";
    t += "        </Settings>\r\n";
    t += "        <KeywordLists>\r\n";
    // "'" comments to the end of the line; "\\" ... "//" blocks pass through.
    t += keywordsElement("Comments", "00' 01 02((EOL)) 03\\\\ 04//");
    // "&FF" hexadecimal, "!101" binary.
    t += keywordsElement("Numbers, prefix1", "&");
    t += keywordsElement("Numbers, prefix2", "!");
    t += keywordsElement("Numbers, extras1", "A B C D E F a b c d e f");
    t += keywordsElement("Numbers, extras2", "");
    t += keywordsElement("Numbers, suffix1", "");
    t += keywordsElement("Numbers, suffix2", "");
    t += keywordsElement("Numbers, range", "");
    t += keywordsElement("Operators1", "+ - * / \\ ^ = < > ( ) ; ,");
    t += keywordsElement("Operators2", "<= >= <> >>");
    for (const char* folder :
         {"Folders in code1, open", "Folders in code1, middle", "Folders in code1, close",
          "Folders in code2, open", "Folders in code2, middle", "Folders in code2, close",
          "Folders in comment, open", "Folders in comment, middle", "Folders in comment, close"})
        t += keywordsElement(folder, "");
    t += keywordsElement("Keywords1", joined(k.commands));
    t += keywordsElement("Keywords2", joined(k.functions));
    t += keywordsElement("Keywords3", joined(k.constants));
    t += keywordsElement("Keywords4", joined(k.listWords));
    t += keywordsElement("Keywords5", joined(k.operatorWords));
    for (const char* empty : {"Keywords6", "Keywords7", "Keywords8"})
        t += keywordsElement(empty, "");
    // Matrix names in brackets; "''" lines are copied to the output as they are.
    t += keywordsElement("Delimiters",
                         "00[ 01 02] 03'' 04 05((EOL)) 06 07 08 09 10 11 12 13 14 15 16 17 18 "
                         "19 20 21 22 23");
    t += "        </KeywordLists>\r\n";
    t += "        <Styles>\r\n";
    t += "            <WordsStyle name=\"DEFAULT\" fgColor=\"000000\" bgColor=\"FFFFFF\" "
         "colorStyle=\"0\" fontName=\"\" fontStyle=\"0\" nesting=\"0\" />\r\n";
    for (const Style& s : kStyles) t += styleElement(s);
    t += "        </Styles>\r\n";
    t += "    </UserLang>\r\n";
    t += "</NotepadPlus>\r\n";
    return t;
}

}  // namespace zrt
