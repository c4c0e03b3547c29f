#include "memory/varstore.h"

#include <algorithm>
#include <cstdint>

#include "base/text16.h"
#include "base/errors.h"
#include "base/nametable.h"
#include "base/numtext.h"

namespace zrt {

namespace {

struct VarList {
    std::vector<VarEntry> entries;
    NameIndex index;  // key -> position in entries
    std::size_t semicolons = 0;  // ";" in the text form (values may hold their own)

    // The text form is rebuilt only when asked for after a change.
    mutable std::string text;
    mutable std::size_t length16 = 0;
    mutable bool textValid = true;
};

// The key at a position of a list, for its index.
auto keysOf(const VarList& l) {
    return [&l](std::size_t position) -> std::string_view { return l.entries[position].key; };
}

struct VarStoreState {
    VarList vars;
    VarList functs;
    std::string currentFormula;
};

VarStoreState& varStoreState() {
    static VarStoreState state;
    return state;
}

VarList& list(ListKind kind) {
    return kind == ListKind::Vars ? varStoreState().vars : varStoreState().functs;
}

std::size_t countSemicolons(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), ';'));
}

// A key given with its "=" already attached names the same entry.
std::string_view keyOf(std::string_view name) {
    if (!name.empty() && name.back() == '=') name.remove_suffix(1);
    return name;
}

const VarList& built(const VarList& l) {
    if (!l.textValid) {
        l.text.clear();
        for (const VarEntry& e : l.entries) {
            l.text += e.key;
            l.text += '=';
            l.text += e.value;
            l.text += ';';
        }
        l.length16 = utf16Length(l.text);
        l.textValid = true;
    }
    return l;
}

}  // namespace

ListKind listKind(std::string_view kindName) {
    return lowerAscii(kindName) == "vars" ? ListKind::Vars : ListKind::Functs;
}

int SetVarFunct(std::string_view name, std::string_view value, ListKind kind) {
    VarList& l = list(kind);
    const std::string key(keyOf(lowerAscii(trimBlanks(name))));
    const long found = l.index.find(key, keysOf(l));
    if (found >= 0) {
        VarEntry& e = l.entries[static_cast<std::size_t>(found)];
        l.semicolons -= countSemicolons(e.value);
        e.value.assign(value);
        e.number = DecValue(e.value);
        e.enteredKnown = false;
    } else {
        l.entries.push_back(VarEntry{key, std::string(value), DecValue(value), 0, false});
        l.index.add(l.entries.size() - 1, keysOf(l));
        l.semicolons += 1 + countSemicolons(key);
    }
    l.semicolons += countSemicolons(value);
    l.textValid = false;
    return static_cast<int>(l.semicolons);
}

double enteredValue(const VarEntry& entry) {
    if (!entry.enteredKnown) {
        entry.entered = DecValue(FixText(entry.number));
        entry.enteredKnown = true;
    }
    return entry.entered;
}

const VarEntry* findVarEntry(ListKind kind, std::string_view key) {
    const VarList& l = list(kind);
    const long found = l.index.find(key, keysOf(l));
    return found < 0 ? nullptr : &l.entries[static_cast<std::size_t>(found)];
}

double FindVarFunctD(std::string_view name, ListKind kind, std::string* formula, bool logMissing) {
    const VarList& l = list(kind);
    // An empty name searches for "=" alone, which the first entry answers.
    const VarEntry* e = name.empty() ? (l.entries.empty() ? nullptr : &l.entries.front())
                                     : findVarEntry(kind, keyOf(name));
    if (!e) {
        setEError(ErrorCode::NotFound);
        if (logMissing) logError("FindVarFunctD", "VarToFind =" + std::string(name));
        return 0;
    }
    setEError(ErrorCode::Found);
    if (kind == ListKind::Vars) return e->number;
    varStoreState().currentFormula = e->value;
    if (formula) *formula = e->value;
    return static_cast<double>(utf16Length(e->value));
}

int FindVarFunct(std::string_view name, ListKind kind, double* result, std::string* formula) {
    setEError(ErrorCode::None);
    const double value = FindVarFunctD(name, kind, formula, false);
    const ErrorCode code = eError();
    if (code == ErrorCode::Found) {
        setEError(ErrorCode::None);
        if (result) *result = value;
        return codeNumber(ErrorCode::Found);
    }
    if (code != ErrorCode::NotFound) setEError(ErrorCode::InvalidArgument);
    return 0;
}

void ClearVarFuncList(ListKind kind) { list(kind) = VarList{}; }

const std::string& varFuncListText(ListKind kind) { return built(list(kind)).text; }

std::size_t varFuncListLength16(ListKind kind) { return built(list(kind)).length16; }

std::string varFuncListDisplay(ListKind kind) {
    const std::string& text = varFuncListText(kind);
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        if (c == ';') {
            out += "; ";
        } else if (c == '=') {
            out += " = ";
        } else {
            out += c;
        }
    }
    return out;
}

const std::vector<VarEntry>& varEntries(ListKind kind) { return list(kind).entries; }

const std::string& currentFormulaText() { return varStoreState().currentFormula; }

void resetVarStore() { varStoreState() = VarStoreState{}; }

}  // namespace zrt
