#include "script/commands_memory.h"

#include <algorithm>

#include "base/errors.h"
#include "base/strings.h"
#include "evaluator/functions.h"
#include "memory/varstore.h"

namespace zrt {

namespace {

// The echo of the memory commands.
std::string expressionEcho(const std::string& text) {
    return ": Expression = " + text + ": " + blankFileNote() + "\r\n";
}

// The matrix of a DimX line: "name(rows,cols) ; label = value ; ...".
struct DimXHead {
    std::string name;
    std::string rows, cols;
    std::string fields;  // the values, each followed by ";"
};

void readDimXName(const std::string& head, DimXHead& h) {
    const std::size_t open = head.find('(');
    const std::size_t close = head.find(')', open == std::string::npos ? 0 : open);
    h.name = trimmed(head.substr(0, std::min(open, head.size())));
    if (h.name.empty() || h.name.front() != '[') h.name = "[" + h.name;
    if (h.name.back() != ']') h.name += "]";
    h.rows.clear();
    h.cols.clear();
    if (open != std::string::npos && close != std::string::npos && close > open) {
        const std::string dims = head.substr(open + 1, close - open - 1);
        const std::size_t comma = dims.find(',');
        h.rows = trimmed(dims.substr(0, comma));
        h.cols = comma == std::string::npos ? std::string() : trimmed(dims.substr(comma + 1));
    }
}

void readDimX(const std::string& arg, DimXHead& h) {
    const std::size_t firstField = arg.find(';');
    readDimXName(arg.substr(0, firstField), h);
    h.fields.clear();
    if (firstField == std::string::npos) return;
    std::size_t start = firstField + 1;
    for (;;) {
        const std::size_t end = arg.find(';', start);
        const std::string field =
            arg.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::size_t eq = field.find('=');
        const std::string value = trimmed(eq == std::string::npos ? field : field.substr(eq + 1));
        if (!value.empty()) h.fields += value + ";";
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

}  // namespace

void runVar(const CommandLine& cmd, CommandOutput& out) {
    const std::string& arg = cmd.arg;
    const std::size_t semi = arg.find(';');
    if (semi == std::string::npos || trimmed(arg.substr(0, semi)).empty()) {
        failReplacing(ErrorCode::InvalidArgument, "sEval", "Var needs name ; value: " + arg);
        out.failure(cmd, expressionEcho(arg), ErrorCode::InvalidArgument);
        return;
    }
    // "," is the decimal point here as in formulas: 2,5 is two and a half.
    std::string value = trimmed(arg.substr(semi + 1));
    std::replace(value.begin(), value.end(), ',', '.');
    SetVarFunct(trimmed(arg.substr(0, semi)), value, ListKind::Vars);
}

void runFunct(const CommandLine& cmd, CommandOutput& out) {
    std::string text = cmd.arg;
    if (cmd.name == "functf" &&
        !out.readInput(cmd, expressionEcho(cmd.arg), CommandOutput::fileForm(cmd.arg).input, text))
        return;
    const std::size_t semi = text.find(';');
    const std::string fname = trimmed(text.substr(0, semi));
    const std::string formula =
        semi == std::string::npos ? std::string() : trimmed(text.substr(semi + 1));
    if (fname.empty() || formula.empty()) {
        failReplacing(ErrorCode::InvalidArgument, "sEval", "Funct needs name ; formula: " + text);
        out.failure(cmd, expressionEcho(cmd.arg), ErrorCode::InvalidArgument);
        return;
    }
    SetVarFunct(fname, formula, ListKind::Functs);
}

void runMatr(const CommandLine& cmd, CommandOutput& out) {
    std::string text = cmd.arg;
    // MatrF and VectF read the definition from a file.
    if (cmd.name.back() == 'f' &&
        !out.readInput(cmd, expressionEcho(cmd.arg), CommandOutput::fileForm(cmd.arg).input, text))
        return;
    if (!storeMatrixDefinition(text, false)) out.failure(cmd, expressionEcho(text), eError());
}

void runDimX(const CommandLine& cmd, CommandOutput& out) {
    DimXHead head;
    readDimX(cmd.raw, head);
    std::string definition = head.name + ";" + head.rows + ";" + head.cols + ";" + head.fields;
    long long consumed = 0;
    std::string next;
    for (std::size_t k = 1; out.followingLine(k, next); ++k) {
        if (lowerAscii(next.substr(0, 4)) != "dimx") break;
        const std::size_t eq = next.find('=');
        if (eq == std::string::npos) break;
        DimXHead more;
        readDimX(trimmed(next.substr(eq + 1)), more);
        if (lowerAscii(more.name) != lowerAscii(head.name)) break;  // another matrix: a new block
        definition += more.fields;
        ++consumed;
    }
    out.skipLines(consumed);
    if (!storeMatrixDefinition(definition, true))
        out.failure(cmd, ": Expression = " + definition + ":\r\n", eError());
}

void runShow(const CommandLine& cmd, CommandOutput& out) {
    const std::string name = trimmed(cmd.params.empty() ? cmd.arg : cmd.params);
    const std::string key = lowerAscii(name);
    const std::string echoPart = ": Show(" + name + ")";
    double value = 0;
    if (const VarEntry* var = findVarEntry(ListKind::Vars, key)) {
        out.success(cmd, echoPart, " => ", "Number " + name + " = " + out.number(var->number));
        return;
    }
    if (const VarEntry* fn = findVarEntry(ListKind::Functs, key)) {
        out.success(cmd, echoPart, " => ", "Function " + name + " = " + fn->value);
        return;
    }
    if (e_get_const(key, &value) == 1) {
        out.success(cmd, echoPart, " => ", "Constant " + name + " = " + out.number(value));
        return;
    }
    const Evaluated m = findMatrixForShow(name);
    if (m.error == ErrorCode::None) {
        if (!out.tooLargeToShow(cmd, echoPart, m, ""))
            out.success(cmd, echoPart, " => ", out.elementList(m));
        return;
    }
    failReplacing(ErrorCode::MatrixNotFound, "sEval", "Matr Name: " + name);
    out.failure(cmd, echoPart, eError());
}

}  // namespace zrt
