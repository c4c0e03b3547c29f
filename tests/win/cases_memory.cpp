// Element order and array copies, trace switches, through the exports.
#include <vector>

#include "probe.h"

using probe::expect;
using probe::num;
using probe::out;
using probe::Z;

PROBE_CASES(elemorder) {
    auto set = ZRT_FN(aElemOrderSet);
    auto get = ZRT_FN(aElemOrderGet);
    auto st = ZRT_FN(aElemOrderSt);
    auto copyArray = ZRT_FN(aCopyArray);
    auto detect = ZRT_FN(aElemOrder);

    expect(set(2) == 17 && get() == -1, "aElemOrderSet(2) gives 17 and leaves -1");
    expect(st(Z("VB").c_str()) == 1, "VB is column order");
    const double byColumn[6] = {1, 4, 2, 5, 3, 6};
    double rows[6] = {0};
    expect(copyArray(byColumn, rows, 2, 3) == -1, "aCopyArray returns -1");
    std::string text;
    for (double v : rows) text += num(v) + " ";
    out("column to row", text);
    expect(rows[1] == 2 && rows[3] == 4, "column order arrives as rows");
    double probe[4] = {1, 2, 3, 4};
    expect(detect(probe) == 0, "row probe");
    set(0);
}

PROBE_CASES(trace) {
    auto setDebug = ZRT_FN(SetDebugF);
    auto getLog = ZRT_FN(GetDebugLog);
    auto errs = ZRT_FN(GetErrorMsgs);
    auto show = ZRT_FN(ShowMsgs);
    auto mode = ZRT_FN(SetErrorMsgsF);
    out("SetDebugF", std::to_string(setDebug(1)));
    out("GetDebugLog len", std::to_string(getLog(nullptr, 0, 0)));
    out("GetErrorMsgs len>0", std::to_string(errs(nullptr, 0, 0) >= 0));
    expect(show(0) == 0, "ShowMsgs returns 0");
    out("SetErrorMsgsF", std::to_string(mode(0)));
}

PROBE_CASES(print) {
    auto print = ZRT_FN(aPrint);
    const double m[4] = {1, 2.5, -3, 1.0 / 3};
    const std::string text = probe::U(print(Z("String").c_str(), Z("0.000").c_str(), Z("M").c_str(),
                                            nullptr, 2, 2, m, 0, 0));
    probe::expectEq("aPrint", text, "M\r\nA(0,0)=1.000\tA(0,1)=2.500\r\nA(1,0)=-3.000\tA(1,1)=0.333\r\n");
    out("aPrint", text);
    out("aPrint null", probe::U(print(Z("String").c_str(), nullptr, nullptr, nullptr, -1, 3, nullptr, 1, 1)));
}

PROBE_CASES(print_box) {
    // The "MsgBox" destination shows a real message box on Windows; the host answers it.
    auto print = ZRT_FN(aPrint);
    const double m[1] = {4};
    out("aPrint MsgBox", probe::U(print(Z("MsgBox").c_str(), nullptr, Z("box").c_str(), nullptr, 1, 1, m, 0, 0)));
}
