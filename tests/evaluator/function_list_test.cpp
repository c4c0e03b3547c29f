// The check of the user function list (a name that occurs elsewhere in the
// list) and the bounds of the work the list may cause.
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "memory/varstore.h"
#include "support/library_test.h"

using namespace zrt;

class FunctionListTest : public LibraryTest {};

namespace {

// The check spelled out: each name searched for in the list before its field
// and after the field's ";". The name of the first conflict, or "".
std::string plainCheck(const std::string& list) {
    std::size_t p = 0;
    while (p < list.size()) {
        std::size_t e = list.find(';', p);
        if (e == std::string::npos) e = list.size();
        const std::string field = list.substr(p, e - p);
        if (field.empty()) break;
        const std::size_t eq = field.find('=');
        if (eq != std::string::npos && eq != 0) {
            const std::string name = field.substr(0, eq);
            const std::string after = list.substr(std::min(e + 1, list.size()));
            if (list.substr(0, p).find(name) != std::string::npos ||
                after.find(name) != std::string::npos)
                return name;
        }
        p = e + 1;
    }
    return "";
}

std::string checkedName() {
    setEError(ErrorCode::None);
    LogError("", 0, "", kLogClear);
    if (CheckFunctions() != ErrorCode::AmbiguousFunction) return "";
    const std::string& log = errorLog();
    const std::size_t at = log.find("\r\nFunct: ");
    return log.substr(at + 9, log.find("\r\n", at + 9) - at - 9);
}

std::string thueMorse(int length, bool complement) {
    std::string s(1, complement ? 'b' : 'a'), t(1, complement ? 'a' : 'b');
    while (static_cast<int>(s.size()) < length) {
        const std::string next = s + t;
        t += s;
        s = next;
    }
    return s;
}

}  // namespace

TEST_F(FunctionListTest, CheckFindsTheFirstNameThatOccursElsewhere) {
    // Random lists over a few letters give names of every kind: unique ones,
    // ones inside other names or bodies, and many of one length (which are
    // searched together).
    std::mt19937 random(12345);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::string letters = "abcd";
    for (int trial = 0; trial < 300; ++trial) {
        ClearVarFuncList(ListKind::Functs);
        const int count = 1 + pick(40);
        for (int k = 0; k < count; ++k) {
            std::string name, body;
            for (int i = 2 + pick(3); i > 0; --i) name += letters[pick(4)];
            for (int i = pick(6); i > 0; --i)
                body += pick(3) ? char('0' + pick(10)) : letters[pick(4)];
            if (pick(20) == 0) body += ";x=1";
            SetVarFunct(name, body.empty() ? "1" : body, ListKind::Functs);
        }
        const std::string& list = varFuncListText(ListKind::Functs);
        EXPECT_EQ(checkedName(), plainCheck(list)) << list;
    }

    // Two texts whose hashes are equal (a Thue-Morse word and its complement):
    // a place found by hash alone would be a conflict that is none.
    ClearVarFuncList(ListKind::Functs);
    SetVarFunct("g", thueMorse(1024, true), ListKind::Functs);
    SetVarFunct(thueMorse(1024, false), "1", ListKind::Functs);
    for (int k = 0; k < 9; ++k) {
        std::string name(1024, 'c');
        name[k] = 'd';
        SetVarFunct(name, "2", ListKind::Functs);
    }
    EXPECT_EQ(plainCheck(varFuncListText(ListKind::Functs)), "");
    EXPECT_EQ(checkedName(), "");
}

TEST_F(FunctionListTest, TheCheckIsRepeatedForAnUnchangedList) {
    SetVarFunct("f", "2", ListKind::Functs);
    SetVarFunct("ff", "3", ListKind::Functs);  // "f" occurs in "ff"
    double v = 0;
    for (int k = 0; k < 2; ++k) {
        LogError("", 0, "", kLogClear);
        EXPECT_EQ(e_eval("1", &v, 1), 1);
        EXPECT_NE(errorLog().find("Funct: f\r\n"), std::string::npos);
    }
    SetVarFunct("ff", "3", ListKind::Vars);
    ClearVarFuncList(ListKind::Functs);
    SetVarFunct("g", "2", ListKind::Functs);
    EXPECT_EQ(e_eval("g", &v, 1), 0);
    EXPECT_EQ(v, 2);
}

TEST_F(FunctionListTest, AListTooLongToSearchEndsTheCheck) {
    // 2000 names of 2000 lengths in a list of two million characters: each
    // would be searched for through the whole list.
    for (int k = 1; k <= 2000; ++k) SetVarFunct(std::string(k, 'q'), "1", ListKind::Functs);
    double v = 0;
    EXPECT_EQ(e_eval("2", &v, 1), 13);
    EXPECT_NE(errorLog().find("too long to search"), std::string::npos);
    // Without the check the formula is evaluated as ever.
    EXPECT_EQ(e_eval("2", &v, 0), 0);
    EXPECT_EQ(v, 2);
}
