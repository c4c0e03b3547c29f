// The host test program: loads the library by file name (LoadLibrary on
// Windows, dlopen natively), resolves every export of quillet.def by its plain
// name, and calls them with UTF-16 texts. Each case prints result lines that
// must agree between the native and the Windows builds, and checks the values
// it knows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zerith.h"

namespace probe {

void* symbol(const char* name);

template <class F>
F fn(const char* name) {
    return reinterpret_cast<F>(symbol(name));
}

using ZString = std::basic_string<zrt_char>;
ZString Z(const std::string& utf8);          // UTF-16 argument from UTF-8
std::string U(const zrt_char* text);         // UTF-8 from a UTF-16 result
std::string U(const ZString& text);

// A double as text that compares bit for bit: shortest round-trip digits.
std::string num(double v);

// The batch driver's last result text, through GetEvalResult.
std::string evalResult();

// Matrices passed as host arrays: the values as text, and an r x c matrix
// given row after row laid out column after column.
using Mat = std::vector<double>;
std::string matrixText(const Mat& m);
Mat columnOrder(const Mat& rowOrder, int r, int c);

// A result line "group.name = value", compared across builds.
void out(const std::string& name, const std::string& value);

// Checks that print "FAIL ..." and fail the run.
void expect(bool ok, const std::string& what);
void expectEq(const std::string& what, const std::string& got, const std::string& want);
void expectNum(const std::string& what, double got, double want);

struct Registrar {
    Registrar(const char* group, void (*run)());
};

}  // namespace probe

// Resolves an export with the type of its declaration in zerith.h.
#define ZRT_FN(name) probe::fn<decltype(&::name)>(#name)

#define PROBE_CASES(group)                                        \
    static void group##_cases();                                  \
    static probe::Registrar group##_registrar(#group, group##_cases); \
    static void group##_cases()
