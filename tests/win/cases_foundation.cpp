// Errors, variable store, number texts and constants through the exports.
#include <cstring>
#include <string>
#include <vector>

#include "probe.h"

using probe::expect;
using probe::expectEq;
using probe::expectNum;
using probe::num;
using probe::out;
using probe::U;
using probe::Z;

PROBE_CASES(errors) {
    auto descr = ZRT_FN(GetE_ErrDescr);
    auto setE = ZRT_FN(SetE_Error);
    auto getE = ZRT_FN(GetE_Error);
    auto st = ZRT_FN(GetStErrDescr);

    expectEq("-1", U(descr(-1, 0)), "No Error                     (Module: aMatr)");
    expectEq("15", U(descr(15, 0)), "");
    expectEq("500", U(descr(500, 0)), "Undefined Command/Keyword    (Module: eval)");
    expectEq("-31", U(descr(-31, 0)), "Undefined Command/Keyword    (Module: eval)");
    expectEq("31", U(descr(31, 0)), "Too Long Formula             (Module: sDiff)");
    expectEq("-25", U(descr(-25, 0)), "Orders not equal               (Module: aMatr)");
    expectEq("-16", U(descr(-16, 0)), "System without Solutions      (Module: aMatr)");
    expect(setE(8) == 8 && getE() == 8, "SetE_Error stores the code");
    expectEq("-99", U(descr(-99, 0)), "Division by zero             (Module: eval & sDiff)");
    expectEq("st -2", U(st(-2)), "File Open Error (not found?)");
    expectEq("st 0", U(st(0)), "");
    expectEq("after st", U(descr(3, 0)), "Parser syntax error          (Module: eval)");
    for (int code : {-100, -99, -31, -30, -1, 0, 1, 5, 14, 25, 70, 100, 2147483647}) {
        setE(-1);
        out("descr(" + std::to_string(code) + ")", U(descr(code, 0)));
    }
    for (int code = -10; code <= 0; ++code) out("st(" + std::to_string(code) + ")", U(st(code)));
    setE(-1);
}

PROBE_CASES(varstore) {
    auto set = ZRT_FN(SetVarFunct);
    auto find = ZRT_FN(FindVarFunct);
    auto findD = ZRT_FN(FindVarFunctD);
    auto clear = ZRT_FN(ClearVarFuncList);
    auto list = ZRT_FN(GetVarFuncList);
    auto len = ZRT_FN(GetVarFuncListLen);
    auto getE = ZRT_FN(GetE_Error);

    clear(Z("VARS").c_str());
    clear(Z("funct").c_str());
    expect(set(Z(" X ").c_str(), Z("1").c_str(), 0) == 1, "first store counts 1");
    expect(set(Z("x").c_str(), Z("2").c_str(), 0) == 1, "X and x are one entry");
    expect(set(Z("ax").c_str(), Z("abc").c_str(), 0) == 2, "new key counts 2");
    expect(set(Z("big").c_str(), Z("2.5e3").c_str(), 0) == 3, "third key");
    double v = -7;
    expect(find(Z("x").c_str(), 0, &v, nullptr) == 21 && v == 2, "x reads 2, not ax");
    expect(getE() == -1, "found resets e_error to -1");
    expect(find(Z("ax").c_str(), 0, &v, nullptr) == 21 && v == 0, "abc reads as 0");
    expect(find(Z("big").c_str(), 0, &v, nullptr) == 21 && v == 2500, "2.5e3 reads 2500");
    expect(find(Z("nope").c_str(), 0, &v, nullptr) == 0 && getE() == 7, "missing gives 7");

    const int n = len(Z("vars").c_str());
    expect(n == 21, "list length " + std::to_string(n));
    probe::ZString buf(64, u'#');
    expect(list(&buf[0], 63, Z("Vars").c_str()) == n, "full copy");
    expectEq("list", U(buf.c_str()), "x=2;ax=abc;big=2.5e3;");
    buf.assign(64, u'#');
    expect(list(&buf[0], 5, Z("vars").c_str()) == 5, "truncated copy returns the maximum");
    expectEq("truncated", U(buf.c_str()), "x=2;a");

    set(Z("f").c_str(), Z("x^2+1").c_str(), 1);
    const double flen = findD(Z("f").c_str(), 1, nullptr, 0);
    expect(flen == 5 && getE() == 21, "function length 5, code 21");
    probe::ZString formula(16, u' ');
    expect(find(Z("f").c_str(), 1, &v, &formula[0]) == 21, "function found");
    expectEq("formula", U(formula.c_str()), "x^2+1");
    out("funct", std::to_string(len(Z("funct").c_str())));

    clear(Z("x").c_str());
    expect(len(Z("funct").c_str()) == 0, "ClearVarFuncList(\"x\") clears the functions");
    expect(len(Z("vars").c_str()) == n, "variables stay");
    clear(Z("VARS").c_str());
    expect(len(Z("vars").c_str()) == 0, "ClearVarFuncList(\"VARS\") clears the variables");
}

PROBE_CASES(numtext) {
    auto strd0 = ZRT_FN(StrD0);
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"1.5000000000", "1.5"}, {"100", "1"},   {"abc", "0"},         {"Result 12.50", "12.5"},
        {"12.5000000000", "12.5"}, {"3.0000000000", "3"}, {"-0.2500000000", "-0.25"},
        {"0.0000000000", "0"},   {"x = 7.1000000000", "7.1"}, {"+Infinity", "+Infinity"},
        {"", "0"},               {".5", "0.5"}};
    for (const auto& [in, want] : cases) expectEq(std::string("StrD0 ") + in, U(strd0(Z(in).c_str())), want);
}

PROBE_CASES(constants) {
    auto k = ZRT_FN(e_get_const);
    auto getE = ZRT_FN(GetE_Error);
    for (const char* name : {"pi", "PI", "#pi", "2pi", "#2pi", "e", "#e", "deg", "to_deg", "#to_deg",
                             "rad", "to_rad", "#rad", "#to_rad"}) {
        double v = 0;
        const int r = k(Z(name).c_str(), &v);
        expect(r == 1 && getE() == -1, std::string("constant ") + name);
        out(name, num(v));
    }
    double v = 0;
    expect(k(Z("PI").c_str(), &v) == 1 && v == 3.1415926536, "PI is 3.1415926536");
    expect(k(Z("tau").c_str(), &v) == 0 && getE() == 18, "tau is unknown (18)");
    expect(k(Z("PI ").c_str(), &v) == 0 && getE() == 18, "PI with a blank is unknown");
    expect(k(Z("pi").c_str(), nullptr) == 1, "null value pointer is allowed");
}

PROBE_CASES(zbad_input) {
    // Null texts, empty texts, huge texts and empty buffers never crash.
    auto set = ZRT_FN(SetVarFunct);
    auto find = ZRT_FN(FindVarFunct);
    auto findD = ZRT_FN(FindVarFunctD);
    auto list = ZRT_FN(GetVarFuncList);
    auto len = ZRT_FN(GetVarFuncListLen);
    auto clear = ZRT_FN(ClearVarFuncList);
    auto strd0 = ZRT_FN(StrD0);
    auto k = ZRT_FN(e_get_const);
    auto descr = ZRT_FN(GetE_ErrDescr);

    out("set null", std::to_string(set(nullptr, nullptr, 0)));
    out("find null", std::to_string(find(nullptr, 0, nullptr, nullptr)));
    out("findD null", num(findD(nullptr, 1, nullptr, 1)));
    out("len null", std::to_string(len(nullptr)));
    out("list null", std::to_string(list(nullptr, 10, nullptr)));
    zrt_char guardBuf[4] = {'a', 'b', 'c', 0};
    out("list -5", std::to_string(list(guardBuf, -5, Z("vars").c_str())));
    expectEq("buffer untouched", U(guardBuf), "abc");
    out("list 0", std::to_string(list(guardBuf, 0, Z("vars").c_str())));
    expect(guardBuf[0] == 0 && guardBuf[1] == 'b', "list 0 writes only the terminating zero");
    out("clear null", std::to_string(clear(nullptr)));
    out("strd0 null", U(strd0(nullptr)));
    out("const null", std::to_string(k(nullptr, nullptr)));
    expect(std::strlen(U(descr(-99, 1)).c_str()) > 0, "description with log");

    clear(Z("vars").c_str());
    const std::string big(1 << 20, 'v');
    const probe::ZString zbig = Z(big);
    expect(set(zbig.c_str(), zbig.c_str(), 0) >= 1, "1 MB name and value stored");
    double v = 0;
    expect(find(zbig.c_str(), 0, &v, nullptr) == 21, "1 MB name found");
    expect(len(Z("vars").c_str()) == 2 * (1 << 20) + 2, "1 MB list length");
    out("strd0 big", std::to_string(U(strd0(zbig.c_str())).size()));
    clear(Z("vars").c_str());
    clear(Z("funct").c_str());
}
