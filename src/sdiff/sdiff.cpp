#include "sdiff/sdiff.h"

#include <filesystem>
#include <fstream>

#include "base/strings.h"
#include "base/text16.h"
#include "base/errors.h"
#include "base/numtext.h"
#include "platform/platform.h"
#include "sdiff/rules.h"
#include "sdiff/simplify.h"
#include "sdiff/tree.h"
#include "log/version.h"

namespace zrt {

namespace {

// The evaluator's keyword lists, as the help text shows them.
constexpr const char* kLogicalOperators = " and eqv imp mod not or xor ";
constexpr const char* kStatisticsFunctions =
    " min max avg sum sum2 prod prod2 stddev count geom_mean median mean ";
constexpr const char* kMatrixFunctions = " det trace syst vcoeff ";

constexpr const char* kDefaultTraceFile = "Derive.Log";

std::filesystem::path tracePath(const std::string& name) {
#ifdef _WIN32
    return std::filesystem::u8path(name);
#else
    std::string n = name;
    for (char& c : n)
        if (c == '\\') c = '/';
    return std::filesystem::u8path(n);
#endif
}

void writeTraceLine(DiffState& s, const std::string& line) {
    if (s.traceFile.empty()) {
        s.traceFile = kDefaultTraceFile;
        std::ofstream create(tracePath(s.traceFile), std::ios::binary | std::ios::trunc);
    }
    // Opened and closed per line, so the file is complete whenever the host stops.
    std::ofstream file(tracePath(s.traceFile), std::ios::binary | std::ios::app);
    if (file) file << line << "\r\n";
}

void traceNodes(std::string_view label, std::int32_t from, std::int32_t to) {
    const DiffState& s = diffState();
    for (std::int32_t i = from; i <= to; ++i) {
        const TreeNode& n = s.t[static_cast<std::size_t>(i)];
        DiffTrace(label, "index=" + std::to_string(i) + ", \\l=" + std::to_string(n.l) + ", \\r=" +
                             std::to_string(n.r) + ", \\opCode=" + std::to_string(n.opCode) +
                             ", op=" + opName(n.opCode) + ", \\con=" + n.con);
    }
}

// A formula that cannot be derived: e_error 6 and one entry in the error log.
int rejectFormula() {
    DiffState& s = diffState();
    std::string detail = s.raised;
    diffRaise("Error in formula.", 0);
    failReplacing(diffErrorCode(kDiffErrorInFormula), "e_diff",
                  "Error in formula." + (detail.empty() ? "" : " (" + detail + ")"));
    s.lastResult.clear();
    return 0;
}

// Marks a differentiation that ended by an exception (out of memory) as failed.
struct FailUnlessDone {
    bool done = false;
    ~FailUnlessDone() {
        if (!done) diffState().diffErr = 1;
    }
};

}  // namespace

bool diffTracing() {
    return diffState().traceMode != 0;
}

void DiffTrace(std::string_view label, std::string_view text) {
    DiffState& s = diffState();
    if (s.traceMode == 0) return;
    ++s.traceCount;
    const bool in = startsWith(text, "IN_");
    const std::string segment = "/" + std::string(label);
    if (in) {
        s.tracePath += segment;
    } else {
        // The innermost call of that name leaves the path.
        for (std::size_t at = s.tracePath.rfind(segment); at != std::string::npos;
             at = at ? s.tracePath.rfind(segment, at - 1) : std::string::npos) {
            const std::size_t end = at + segment.size();
            if (end == s.tracePath.size() || s.tracePath[end] == '/') {
                s.tracePath.erase(at, segment.size());
                break;
            }
            if (at == 0) break;
        }
    }
    std::size_t depth = 0;
    for (char c : s.tracePath) depth += c == '/';

    std::string shownLabel(label);
    for (std::size_t at; (at = shownLabel.find("TDF_")) != std::string::npos;)
        shownLabel.erase(at, 4);
    if (in) s.traceIndent += ' ';

    std::string line = std::to_string(s.traceCount) + ": (" + std::to_string(depth) + ") " +
                       s.traceIndent + shownLabel + ", ";
    line.append(text);
    switch (s.traceMode) {
        case 1:
            writeTraceLine(s, line);
            break;
        case 2:
            platform::messageBox(line, shownLabel);
            break;
        default:
            break;
    }
    s.traceLast = std::move(line);
    if (startsWith(text, "OUT") && !s.traceIndent.empty()) s.traceIndent.pop_back();
}

int eDiff(std::string_view formula, std::string_view variable, std::string& result) {
    DiffState& s = diffState();
    FailUnlessDone unfinished;
    result.clear();
    s.raised.clear();
    s.tracePath.clear();
    s.traceIndent.clear();

    if (trimBlanks(formula).empty()) {
        s.diffErr = kDiffEmptyFormula;
        failReplacing(diffErrorCode(kDiffEmptyFormula), "e_diff", "Empty formula.");
        s.lastResult.clear();
        unfinished.done = true;
        return 0;
    }

    s.Index = 0;
    s.rootExpr = 0;
    s.rootDiff = 0;
    s.formula.assign(formula);
    s.dVar.assign(variable);
    s.tableFull = false;
    s.derivativeText = false;
    resetReader();

    s.rootExpr = GetTreeExpr(formula);
    if (diffTracing()) {
        DiffTrace("Formula", formula);
        traceNodes("Nodes Expr.", 1, s.Index);
    }
    if (s.bc != 0 || s.diffErr) {
        s.rootExpr = 0;
        unfinished.done = true;
        return rejectFormula();
    }

    resetReader();
    const std::int32_t formulaNodes = s.Index;
    if (diffTracing()) {
        // The derivative as text, read back: what the trace shows.
        const std::string derivative = Df(s.rootExpr);
        if (!s.diffErr) {
            s.derivativeText = true;
            s.rootDiff = GetTreeExpr(derivative);
            s.derivativeText = false;
        }
        DiffTrace("Df(TreeExpr)", derivative);
        DiffTrace("Formula after Diff", derivative);
        traceNodes("Nodes Diff", formulaNodes + 1, s.Index);
    } else {
        // The same tree without writing and reading the text.
        s.rootDiff = DfTree(s.rootExpr);
    }
    if (s.bc != 0 || s.diffErr) {
        s.rootDiff = 0;
        unfinished.done = true;
        return rejectFormula();
    }

    result = Diff_GetFormula(Diff_Simplify(s.rootDiff));
    s.Index = 0;
    if (diffTracing()) {
        DiffTrace("Diff", "OUT 20, der=" + result);
        DiffTrace("Diff", "OUT 21, sol=e^x");
    }
    s.lastResult = result;
    unfinished.done = true;
    if (s.diffErr) {
        // A division by the number 0: the text stands, but it is no derivative.
        logError("e_diff", "Division by zero." + (s.raised.empty() ? "" : " (" + s.raised + ")"));
        return 0;
    }
    setEError(ErrorCode::None);
    return static_cast<int>(utf16Length(result));
}

std::uint8_t GetLast_diffErr() {
    return diffState().diffErr;
}

std::uint8_t SetDiffLogF(std::uint8_t mode, std::string_view file) {
    DiffState& s = diffState();
    s.traceMode = mode;
    s.traceFile.assign(file);
    return s.traceMode;
}

std::string diffOperAndFuncs() {
    std::string t;
    t.reserve(2600);
    t += "Library: Zerith.dll - Version: ";
    t += libraryFileVersion();
    t += " (build: 49)";

    t += "\r\nSupported Constants:";
    t += "\r\n  PI\t= " + FixText(3.14159265358979323846) + " (also #PI)";
    t += "\r\n  e \t= " + FixText(2.71828182845905) + " (also #e)";
    t += "\r\n  to_deg\t= " + FixText(57.2957795130823) + " (also #to_deg)";
    t += "\r\n  to_rad\t=" + FixText(0.017453292519943302) + " (also #to_rad)";
    t += "\r\n    others can be defined with Command 'Var' (es. Var = g ; 9.81)";
    t += "\r\n";

    t += "\r\nSupported Operators:";
    t += "\r\n  ( \t= left bracket";
    t += "\r\n  ) \t= right bracket";
    t += "\r\n  + \t= plus operator";
    t += "\r\n  - \t= minus operator";
    t += "\r\n  * \t= multiply operator";
    t += "\r\n  / \t= division operator";
    t += "\r\n  ^ \t= power operator";
    t += "\r\n  & \t= hexadecimal number (es. &FF = 256) <ver. 0.0.4.6>";
    t += "\r\n  ! \t= binary number (es. !100 = 4) <ver. 0.0.4.6>";
    t += "\r\n";

    t += "\r\nSupported Logical Operators:";
    t += "\r\n";
    t += kLogicalOperators;
    t += "\r\n";

    t += "\r\nSupported Functions:";
    t += "\r\n";
    t += kStatisticsFunctions;
    t += "\r\n";

    t += "\r\nSupported Matrix Operators:";
    t += "\r\n";
    t += kMatrixFunctions;
    t += " I=Inverse, T=Traspost, D=Diagonal";
    t += "\r\n(es. Expr = det([mA]), StoExpr([mAI]) = [mA]I)";
    t += "\r\n";

    t += "\r\nSupported Trig Functions:";
    t += "\r\n  cos(x)\t= cosine of x";
    t += "\r\n  sin(x)\t= sine of x";
    t += "\r\n  tg(x)\t= tangent of x (also tan(x))";
    t += "\r\n  ctg(x)\t= cotangent of x (also cotan(x))";
    t += "\r\n    by default argument is in radiants. use to_rad and to_deg ";
    t += "\r\n    constants above for convertions between types.";
    t += "\r\n";
    t += "\r\n  abs(x)\t= absolute value of x = |x|";
    t += "\r\n  sgn(x)\t= sign of x (+/-1)";
    t += "\r\n  ln(x)\t= natural logaritm of x (also log(x))";
    t += "\r\n  log10(x)\t= base 10 logaritm of x";
    t += "\r\n  sqrt(x)\t= square root of x";
    t += "\r\n  exp(x)\t= power of natural number by x (e^x)";
    t += "\r\n  sh(x)\t= sin hyperbolic of x (also sinh(x))";
    t += "\r\n  ch(x)\t= cos hyperbolic of x (also cosh(x))";
    t += "\r\n  th(x)\t= tangent hyperbolic of x (also tanh(x) and tgh(x))";
    t += "\r\n  cth(x)\t= cotangent hyperbolic of x (also cotanh(x) and ctgh(x))";
    t += "\r\n  arcsin(x)\t= arcsin of x";
    t += "\r\n  arccos(x)\t= arccos of x";
    t += "\r\n  arctan(x)\t= arctangent of x (also arctg(x))";
    t += "\r\n  arcctg(x)\t= arccotangent of x (also arccotan(x))";
    return t;
}

}  // namespace zrt
