#include "evaluator/functions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <unordered_map>
#include <utility>

#include "base/errors.h"
#include "base/numtext.h"

namespace zrt {

namespace {

enum class Fn {
    Abs, Atan, Cos, Sin, Tan, Exp, Fix, Int, Ln, Log10, Rnd, Sgn, Sqrt, Sec, Cosec, Cotan,
    ArcSin, ArcCos, ArcSec, ArcCosec, ArcCotan, Sinh, Cosh, Tanh, Sech, Cosech, Cotanh,
    ArcTanh, ArcSinh, ArcCosh, ArcSech, ArcCosech, ArcCotanh, ConstPi, ConstRad, ConstDeg, ConstE,
    Heaviside
};

const std::unordered_map<std::string_view, Fn>& functionTable() {
    static const std::unordered_map<std::string_view, Fn> table = {
        {"abs", Fn::Abs},         {"atan", Fn::Atan},         {"atn", Fn::Atan},
        {"cos", Fn::Cos},         {"sin", Fn::Sin},           {"tan", Fn::Tan},
        {"exp", Fn::Exp},         {"fix", Fn::Fix},           {"int", Fn::Int},
        {"log", Fn::Ln},          {"ln", Fn::Ln},             {"log10", Fn::Log10},
        {"rnd", Fn::Rnd},         {"sgn", Fn::Sgn},           {"sqr", Fn::Sqrt},
        {"sqrt", Fn::Sqrt},       {"sec", Fn::Sec},           {"cosec", Fn::Cosec},
        {"cotan", Fn::Cotan},     {"arcsin", Fn::ArcSin},     {"arccos", Fn::ArcCos},
        {"arcsec", Fn::ArcSec},   {"arccosec", Fn::ArcCosec}, {"arccotan", Fn::ArcCotan},
        {"sinh", Fn::Sinh},       {"cosh", Fn::Cosh},         {"tanh", Fn::Tanh},
        {"sech", Fn::Sech},       {"cosech", Fn::Cosech},     {"cotanh", Fn::Cotanh},
        {"arctanh", Fn::ArcTanh}, {"arcsinh", Fn::ArcSinh},   {"arccosh", Fn::ArcCosh},
        {"arcsech", Fn::ArcSech}, {"arccosech", Fn::ArcCosech}, {"arccotanh", Fn::ArcCotanh},
        {"#pi", Fn::ConstPi},     {"#rad", Fn::ConstRad},     {"#to_rad", Fn::ConstRad},
        {"rad", Fn::ConstRad},    {"to_rad", Fn::ConstRad},   {"#deg", Fn::ConstDeg},
        {"#to_deg", Fn::ConstDeg}, {"deg", Fn::ConstDeg},     {"to_deg", Fn::ConstDeg},
        {"#e", Fn::ConstE},
        // The differentiator's spellings: every derivative it prints is a
        // formula the evaluator can compute. "h" (Heaviside there) is left out:
        // one letter is too short a name to take from users' variables.
        {"tg", Fn::Tan},          {"ctg", Fn::Cotan},         {"arctg", Fn::Atan},
        {"arctan", Fn::Atan},     {"arcctg", Fn::ArcCotan},   {"sh", Fn::Sinh},
        {"ch", Fn::Cosh},         {"th", Fn::Tanh},           {"tgh", Fn::Tanh},
        {"cth", Fn::Cotanh},      {"ctgh", Fn::Cotanh},       {"sign", Fn::Sgn},
        {"heaviside", Fn::Heaviside},
    };
    return table;
}

struct FunctionState {
    std::mt19937_64 random{std::random_device{}()};
};

FunctionState& functionState() {
    static FunctionState state;
    return state;
}

// "ex" of the hyperbolic rows: e^t in double as 2.71828182845905 raised to t.
double ex(double t) { return std::pow(2.71828182845905, t); }

double sgn(double t) { return t > 0 ? 1.0 : t < 0 ? -1.0 : 0.0; }

// Truncation toward zero to a 32-bit integer. Values outside the range saturate
// and not-a-number gives 0: a plain cast would be undefined there.
double truncInt32(double t) {
    if (std::isnan(t)) return 0;
    if (t >= 2147483647.0) return 2147483647.0;
    if (t <= -2147483648.0) return -2147483648.0;
    return static_cast<double>(static_cast<std::int32_t>(t));
}

double randomUpTo(double f) {
    const double limit = std::nearbyint(f);
    if (!(std::fabs(limit) < 9.0e15)) return limit;  // no integer range to draw from
    const auto n = static_cast<std::int64_t>(limit);
    std::uniform_int_distribution<std::int64_t> dist(std::min<std::int64_t>(0, n),
                                                     std::max<std::int64_t>(0, n));
    return static_cast<double>(dist(functionState().random));
}

void domainError(double x, const std::string& extra) {
    failReplacing(ErrorCode::InvalidArgument, "e_function",
                  "Invalid Argument = " + shortNumber(x) + extra);
}

}  // namespace

bool isBuiltinFunction(std::string_view name) { return functionTable().count(name) != 0; }

int functionIndex(std::string_view name) {
    const auto it = functionTable().find(name);
    return it == functionTable().end() ? -1 : static_cast<int>(it->second);
}

std::vector<BuiltinName> builtinFunctionNames() {
    std::vector<BuiltinName> names;
    for (const auto& [name, fn] : functionTable()) names.push_back({name, static_cast<int>(fn)});
    return names;
}

double e_function(std::string_view name, double x) {
    const int index = functionIndex(name);
    if (index < 0) {
        failReplacing(ErrorCode::UndefinedFunction, "e_function",
                      "Undefined Function = " + std::string(name));
        return 0;
    }
    return e_functionAt(index, x);
}

namespace {

// What is wrong with a function's argument: nothing, or its domain (with the
// quantity the message shows for the inverse sine and secant rows).
struct Domain {
    enum Kind : std::uint8_t { Fine, Plain, SinRow, SecRow } kind = Fine;
    double d = 0;
};

// The function at x, in single precision; a domain failure is noted, not reported.
// Inlined where the function is known, so that a loop over many arguments
// runs without its switch.
[[gnu::always_inline]] inline double compute(Fn fn, double x, Domain& domain) {
    const double f = static_cast<float>(x);
    const double halfPi = 2 * std::atan(1.0);
    double r = 0;
    switch (fn) {
        case Fn::Abs: r = std::fabs(f); break;
        case Fn::Atan: r = std::atan(f); break;
        case Fn::Cos: r = std::cos(f); break;
        case Fn::Sin: r = std::sin(f); break;
        case Fn::Tan: r = std::tan(f); break;
        case Fn::Exp: r = std::pow(static_cast<double>(2.7182817f), f); break;
        // fix(0) would divide 0 by 0: it is 0.
        case Fn::Fix: r = f == 0 ? 0.0 : std::fabs(f) / f * std::trunc(std::fabs(f)); break;
        case Fn::Int: r = truncInt32(f); break;
        case Fn::Ln:
            r = std::log(f);
            if (f < 0) domain.kind = Domain::Plain;
            break;
        case Fn::Log10:
            r = std::log10(f);
            if (f < 0) domain.kind = Domain::Plain;
            break;
        case Fn::Rnd: r = randomUpTo(f); break;
        case Fn::Sgn: r = sgn(f); break;
        case Fn::Sqrt:
            r = std::sqrt(f);
            if (f < 0) domain.kind = Domain::Plain;
            break;
        case Fn::Sec: r = 1 / std::cos(f); break;
        case Fn::Cosec: r = 1 / std::sin(f); break;
        case Fn::Cotan: r = 1 / std::tan(f); break;
        case Fn::ArcSin:
        case Fn::ArcCos: {
            const double d = 1 - f * f;
            const double a = std::atan((fn == Fn::ArcSin ? f : -f) / std::sqrt(d));
            r = fn == Fn::ArcSin ? a : a + halfPi;
            if (d <= 0) domain = Domain{Domain::SinRow, d};
            break;
        }
        // The inverse secant and cosecant are acos(1/f) and asin(1/f); the
        // arctangent forms of the old formula lists are wrong for most
        // arguments (arcsec(2) came out 2.43 instead of 1.0472).
        case Fn::ArcSec:
        case Fn::ArcCosec: {
            const double d = f * f - 1;
            r = fn == Fn::ArcSec ? std::acos(1 / f) : std::asin(1 / f);
            if (d <= 0) domain = Domain{Domain::SecRow, d};
            break;
        }
        // pi/2 - atan(f), in (0, pi): the value the differentiator's rule
        // -1/(1+f^2) belongs to (atan(f) + pi/2 is arccotan(-f)).
        case Fn::ArcCotan: r = halfPi - std::atan(f); break;
        case Fn::Sinh: r = (ex(f) - ex(-f)) / 2; break;
        case Fn::Cosh: r = (ex(f) + ex(-f)) / 2; break;
        case Fn::Tanh: r = (ex(f) - ex(-f)) / (ex(f) + ex(-f)); break;
        case Fn::Sech: r = 2 / (ex(f) + ex(-f)); break;
        case Fn::Cosech: r = 2 / (ex(f) - ex(-f)); break;
        case Fn::Cotanh: r = (ex(f) + ex(-f)) / (ex(f) - ex(-f)); break;
        case Fn::ArcTanh: r = std::log((1 + f) / (1 - f)) / 2; break;
        case Fn::ArcSinh: r = std::log(f + std::sqrt(f * f + 1)); break;
        case Fn::ArcCosh: r = std::log(f + std::sqrt(f * f - 1)); break;
        case Fn::ArcSech: r = std::log((std::sqrt(1 - f * f) + 1) / f); break;
        case Fn::ArcCosech: r = std::log(((f / std::fabs(f)) * std::sqrt(f * f + 1) + 1) / f); break;
        case Fn::ArcCotanh: r = std::log((f + 1) / (f - 1)) / 2; break;
        case Fn::ConstPi: r = 3.1415927f; break;
        case Fn::ConstRad: r = 0.017453292f; break;
        case Fn::ConstDeg: r = 57.29578f; break;
        case Fn::ConstE: r = 2.7182817f; break;
        case Fn::Heaviside: r = f >= 0 ? 1.0 : 0.0; break;
    }
    return static_cast<float>(r);
}

bool knownIndex(int index) { return index >= 0 && index <= static_cast<int>(Fn::Heaviside); }

template <std::size_t Index>
std::size_t valuesOf(double* v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        Domain domain;
        v[i] = compute(static_cast<Fn>(Index), v[i], domain);
        if (domain.kind != Domain::Fine) return i;
    }
    return n;
}

using ValuesOf = std::size_t (*)(double*, std::size_t);
constexpr std::size_t kFunctionCount = static_cast<std::size_t>(Fn::Heaviside) + 1;

template <std::size_t... Index>
constexpr std::array<ValuesOf, sizeof...(Index)> valuesTable(std::index_sequence<Index...>) {
    return {&valuesOf<Index>...};
}

constexpr std::array<ValuesOf, kFunctionCount> kValuesOf =
    valuesTable(std::make_index_sequence<kFunctionCount>{});

}  // namespace

double e_functionAt(int index, double x) {
    setEError(ErrorCode::None);
    if (!knownIndex(index)) {
        failReplacing(ErrorCode::UndefinedFunction, "e_function",
                      "Undefined Function = #" + std::to_string(index));
        return 0;
    }
    Domain domain;
    const double r = compute(static_cast<Fn>(index), x, domain);
    switch (domain.kind) {
        case Domain::Fine: break;
        case Domain::Plain: domainError(x, ""); break;
        case Domain::SinRow: domainError(x, " and (-arg^2 + 1) => " + shortNumber(domain.d)); break;
        case Domain::SecRow: domainError(x, " and (arg^2 - 1) => " + shortNumber(domain.d)); break;
    }
    return r;
}

bool functionValue(int index, double x, double& value) {
    if (!knownIndex(index)) return false;
    Domain domain;
    value = compute(static_cast<Fn>(index), x, domain);
    return domain.kind == Domain::Fine;
}

std::size_t functionValues(int index, double* v, std::size_t n) {
    if (!knownIndex(index)) return 0;
    return kValuesOf[static_cast<std::size_t>(index)](v, n);
}

bool isRandomFunction(int index) { return index == static_cast<int>(Fn::Rnd); }

namespace {

struct Constant {
    std::string_view name;
    double value;
};

const Constant kConstants[] = {
    {"pi", 3.141592653589793},   {"2pi", 6.283185307179586},    {"e", 2.71828182845905},
    {"deg", 57.2957795130823},   {"to_deg", 57.2957795130823},  {"rad", 0.017453292519943302},
    {"to_rad", 0.017453292519943302},
};

}  // namespace

std::vector<std::string_view> constantNames() {
    std::vector<std::string_view> names;
    for (const Constant& c : kConstants) names.push_back(c.name);
    return names;
}

int e_get_const(std::string_view name, double* value, std::string* text) {
    setEError(ErrorCode::Stopped);
    const std::string key = lowerAscii(name);
    const std::string_view bare = !key.empty() && key[0] == '#' ? std::string_view(key).substr(1)
                                                                : std::string_view(key);
    const Constant* found = nullptr;
    for (const Constant& c : kConstants)
        if (bare == c.name) found = &c;
    if (!found) {
        setEError(ErrorCode::UndefinedConstant);
        return 0;
    }
    const double constant = found->value;
    // Constants enter formulas through their ten-decimal text.
    const std::string fixed = FixText(constant);
    if (value) *value = DecValue(fixed);
    if (text) *text = fixed;
    setEError(ErrorCode::None);
    return 1;
}

void seedRandom(std::uint64_t seed) { functionState().random.seed(seed); }

void resetFunctions() {
    // The generator keeps running across resets: a reset must not replay numbers.
}

}  // namespace zrt
