// The matrix store with host arrays through the exports.
#include <cstdint>
#include <string>

#include "probe.h"

using probe::expect;
using probe::num;
using probe::out;
using probe::U;
using probe::Z;

namespace {

std::string values(const double* v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += num(v[i]) + " ";
    return s;
}

// Addresses differ between builds: the listing is compared without them.
std::string withoutAddresses(std::string text) {
    for (std::size_t p = text.find("Addr: "); p != std::string::npos; p = text.find("Addr: ", p)) {
        p += 6;
        const std::size_t e = text.find('\r', p);
        text.replace(p, e - p, "#");
    }
    return text;
}

}  // namespace

PROBE_CASES(matrixstore) {
    auto setMatrix = ZRT_FN(SetMatrix);
    auto setStr = ZRT_FN(SetStrMatrix);
    auto find = ZRT_FN(FindMatrix);
    auto get = ZRT_FN(GetMatrixByLong);
    auto list = ZRT_FN(GetMatrixList);
    auto clear = ZRT_FN(ClearMatrixList);
    auto eval = ZRT_FN(e_eval);
    auto deval = ZRT_FN(de_eval);
    auto getE = ZRT_FN(GetE_Error);
    auto orderGet = ZRT_FN(aElemOrderGet);
    auto orderSet = ZRT_FN(aElemOrderSet);

    const int savedOrder = orderGet();
    clear(0);
    out("SetStrMatrix", std::to_string(setStr(Z("[mA];2;3;1;2;3;4;5;6").c_str(), 0, 0)));
    out("SetStrMatrix short", std::to_string(setStr(Z("[mB];2;2;1;2;3").c_str(), 0, 0)));
    out("SetStrMatrix vector", std::to_string(setStr(Z("[v];3;0;1;2;3").c_str(), 0, 0)));

    // A Visual Basic host: arrays column after column.
    orderSet(1);
    double host[6] = {1, 4, 2, 5, 3, 6};
    const intptr_t address = setMatrix(Z("[mH]").c_str(), reinterpret_cast<intptr_t>(host), 2, 3, 1);
    expect(address != 0 && address != reinterpret_cast<intptr_t>(host), "SetMatrix copies the host array");
    host[0] = 99;
    int32_t rows = 0, cols = 0;
    expect(find(Z("[mh]").c_str(), 33, &rows, &cols, 0) == address && rows == 2 && cols == 3,
           "FindMatrix by name gives the address and the size");
    out("FindMatrix index", std::to_string(find(Z("[MH]").c_str(), 34, nullptr, nullptr, 0)));
    double back[6] = {0};
    const int got = get(address, back, 2, 3);
    out("GetMatrixByLong", std::to_string(got) + " " + values(back, 6));
    expect(back[0] == 1 && back[1] == 4 && back[5] == 6, "host order comes back");
    orderSet(0);
    get(address, back, 2, 3);
    out("row order", values(back, 6));
    expect(back[1] == 2, "stored row after row");

    double v = 0;
    out("e_eval [mA]", std::to_string(eval(Z("[mA]").c_str(), &v, 0)));
    double copy[6] = {0};
    const int gotCopy = get(static_cast<intptr_t>(v), copy, 2, 3);
    out("result", std::to_string(gotCopy) + " " + values(copy, 6));
    out("[mA]+1", std::to_string(eval(Z("[mA]+1").c_str(), &v, 0)));
    const double result = deval(Z("[mA]").c_str(), 0);
    out("de_eval [mA]", std::to_string(find(Z("[mResult]").c_str(), 33, nullptr, nullptr, 0) ==
                                       static_cast<intptr_t>(result)));
    out("list", withoutAddresses(U(list(1))));

    out("unknown address", std::to_string(get(address + 8, back, 1, 1)));
    out("too many", std::to_string(get(address, back, 3, 3)));
    out("null", std::to_string(get(0, back, 1, 1)));
    const intptr_t huge = setMatrix(Z("[big]").c_str(), reinterpret_cast<intptr_t>(host), 100000, 100000, 1);
    out("huge", std::to_string(huge) + " " + std::to_string(getE()));
    const intptr_t missing = find(Z("[none]").c_str(), 33, nullptr, nullptr, 0);
    out("missing", std::to_string(missing) + " " + std::to_string(getE()));
    clear(0);
    out("cleared", U(list(0)));
    orderSet(savedOrder);
}
