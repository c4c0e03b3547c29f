#include "memory/varstore.h"

#include "base/errors.h"
#include "support/library_test.h"

using namespace zrt;

class VarStoreTest : public LibraryTest {};

TEST_F(VarStoreTest, StoresInFirstStoredOrderAndReplacesInPlace) {
    EXPECT_EQ(SetVarFunct("g", "9.81", ListKind::Vars), 1);
    EXPECT_EQ(SetVarFunct(" X ", "1", ListKind::Vars), 2);
    EXPECT_EQ(SetVarFunct("x", "2", ListKind::Vars), 2);  // same key: same count
    EXPECT_EQ(varFuncListText(ListKind::Vars), "g=9.81;x=2;");
    EXPECT_EQ(varFuncListDisplay(ListKind::Vars), "g = 9.81; x = 2; ");
    SetVarFunct("g", "1", ListKind::Vars);
    EXPECT_EQ(varFuncListText(ListKind::Vars), "g=1;x=2;");
    EXPECT_EQ(varFuncListText(ListKind::Functs), "");
}

TEST_F(VarStoreTest, LookupsMatchWholeKeysOnly) {
    SetVarFunct("ax", "5", ListKind::Vars);
    SetVarFunct("x", "7", ListKind::Vars);
    double v = 0;
    EXPECT_EQ(FindVarFunct("x", ListKind::Vars, &v, nullptr), codeNumber(ErrorCode::Found));
    EXPECT_EQ(v, 7);
    EXPECT_EQ(eError(), ErrorCode::None);
    EXPECT_EQ(FindVarFunct("X", ListKind::Vars, &v, nullptr), 0);  // names are used unchanged
    EXPECT_EQ(eError(), ErrorCode::NotFound);
    EXPECT_EQ(FindVarFunctD("a", ListKind::Vars, nullptr, true), 0);
    EXPECT_EQ(eError(), ErrorCode::NotFound);
    EXPECT_NE(errorLog().find("VarToFind =a"), std::string::npos);
}

TEST_F(VarStoreTest, ValuesReadAsTheirLeadingNumber) {
    const struct {
        const char* text;
        double v;
    } cases[] = {{"abc", 0}, {"2.5e3", 2500}, {"-1.5x", -1.5}, {"", 0}, {" 4", 4}};
    for (const auto& c : cases) {
        SetVarFunct("v", c.text, ListKind::Vars);
        EXPECT_EQ(FindVarFunctD("v", ListKind::Vars, nullptr, false), c.v) << c.text;
        EXPECT_EQ(eError(), ErrorCode::Found);
    }
}

TEST_F(VarStoreTest, FunctionsGiveTheirFormulaAndLength) {
    SetVarFunct("F", "x^2+1", ListKind::Functs);
    std::string formula;
    EXPECT_EQ(FindVarFunctD("f", ListKind::Functs, &formula, false), 5);
    EXPECT_EQ(formula, "x^2+1");
    EXPECT_EQ(currentFormulaText(), "x^2+1");
    double len = 0;
    EXPECT_EQ(FindVarFunct("f", ListKind::Functs, &len, nullptr), codeNumber(ErrorCode::Found));
    EXPECT_EQ(len, 5);
}

TEST_F(VarStoreTest, EmptyNamesAndKindNames) {
    SetVarFunct("a", "1", ListKind::Vars);
    SetVarFunct("", "5", ListKind::Vars);
    EXPECT_EQ(varFuncListText(ListKind::Vars), "a=1;=5;");
    EXPECT_EQ(FindVarFunctD("", ListKind::Vars, nullptr, false), 1);  // the first entry answers
    EXPECT_EQ(listKind("VARS"), ListKind::Vars);
    EXPECT_EQ(listKind("x"), ListKind::Functs);
    ClearVarFuncList(listKind("Vars"));
    EXPECT_EQ(varFuncListText(ListKind::Vars), "");
    // A look-up on an empty list leaves the list empty.
    FindVarFunctD("q", ListKind::Vars, nullptr, false);
    EXPECT_EQ(SetVarFunct("q", "1", ListKind::Vars), 1);
}

TEST_F(VarStoreTest, ListExportsCountUtf16UnitsAndTruncate) {
    SetVarFunct("g", "9.81", ListKind::Vars);
    SetVarFunct("u", "\xC3\xA9\xF0\x9F\x98\x80", ListKind::Vars);  // e-acute and an emoji
    EXPECT_EQ(GetVarFuncListLen(P(Z("vars"))), 7 + 6);
    std::u16string buf(32, u'#');
    EXPECT_EQ(GetVarFuncList(reinterpret_cast<zrt_char*>(&buf[0]), 3, P(Z("vars"))), 3);
    EXPECT_EQ(buf.substr(0, 4), std::u16string(u"g=9\0", 4));
    EXPECT_EQ(buf[4], u'#');
}

TEST_F(VarStoreTest, HundredThousandEntriesStayFast) {
    for (int i = 0; i < 100000; ++i) SetVarFunct("v" + std::to_string(i), "1", ListKind::Vars);
    double v = 0;
    for (int i = 0; i < 100000; i += 7)
        ASSERT_EQ(FindVarFunct("v" + std::to_string(i), ListKind::Vars, &v, nullptr),
                  codeNumber(ErrorCode::Found));
    EXPECT_EQ(SetVarFunct("v5", "2", ListKind::Vars), 100000);
}
