// The variable list and the function list: ordered entries key=value; whose
// text form (`g=9.81;x=2;`) is what hosts read back. Look-ups are hashed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zrt {

enum class ListKind { Vars, Functs };

// Kind argument of the exports: 0 = variables, anything else = functions.
inline ListKind listKind(int kind) { return kind == 0 ? ListKind::Vars : ListKind::Functs; }
// Kind name: "vars" (any case) = variables, anything else = functions.
ListKind listKind(std::string_view kindName);

struct VarEntry {
    std::string key;    // trimmed, lower case
    std::string value;  // as given: number text or formula text
    double number = 0;  // DecValue(value), kept for fast look-ups
    // What the variable is worth inside a formula, where it enters as its
    // ten-decimal text: DecValue(FixText(number)), worked out once per value.
    mutable double entered = 0;
    mutable bool enteredKnown = false;
};

// DecValue(FixText(entry.number)), cached in the entry until its value changes.
double enteredValue(const VarEntry& entry);

// SetVarFunct: stores (or replaces in place) and returns the number of ";" in
// the list text afterwards.
int SetVarFunct(std::string_view name, std::string_view value, ListKind kind);

// FindVarFunctD: the name is used unchanged. Found: e_error 21; a variable
// gives its value, a function the length of its formula (copied to *formula
// when given, and kept as the current formula text). Missing: e_error 7, 0;
// with logMissing an entry "VarToFind =name" goes to the error log.
double FindVarFunctD(std::string_view name, ListKind kind, std::string* formula, bool logMissing);

// FindVarFunct: 21 and *result when found (e_error back to -1); 0 otherwise
// (e_error 7 when missing, 13 for any other failure).
int FindVarFunct(std::string_view name, ListKind kind, double* result, std::string* formula);

void ClearVarFuncList(ListKind kind);

// The list in its text form and its length in UTF-16 units.
const std::string& varFuncListText(ListKind kind);
std::size_t varFuncListLength16(ListKind kind);

// Show Memory form: "; " between entries and " = " between key and value.
std::string varFuncListDisplay(ListKind kind);

// Direct access for the evaluator: the entry with this exact key, or null.
const VarEntry* findVarEntry(ListKind kind, std::string_view key);
// Entries in first-stored order.
const std::vector<VarEntry>& varEntries(ListKind kind);

// The formula text of the last function found (shared with the evaluator).
const std::string& currentFormulaText();

void resetVarStore();

}  // namespace zrt
