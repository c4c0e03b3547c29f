#include "evaluator/evaluator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "base/errors.h"
#include "evaluator/lexer.h"
#include "evaluator/matrixexpr.h"
#include "base/numtext.h"
#include "evaluator/pointformula.h"
#include "evaluator/preparedformula.h"
#include "evaluator/parser.h"
#include "memory/matrixstore.h"
#include "memory/varstore.h"
#include "log/trace.h"

namespace zrt {

namespace {

struct EvalState {
    int resultType = 0;
    int trueValue = -1;
    int runCount = 0;
    int active = 0;          // evaluations under way (more than one only when nested)
    std::string prepared;    // the formula after preparation; the buffer is reused
    // The function list last checked and what the check found: a script
    // evaluates line after line against the same list, which need not be
    // searched again until it changes.
    bool checkKnown = false;
    std::string checkedList;
    ErrorCode checkResult = ErrorCode::None;  // None, AmbiguousFunction or InvalidArgument
    std::string checkDetail;     // the log entry of a failed check
};

EvalState& evalState() {
    static EvalState state;
    return state;
}

// An evaluation that starts while another is under way scans in a lexer
// state of its own and leaves the other's temporaries alone.
class EvaluationScope {
public:
    EvaluationScope() : state_(evalState()), nested_(state_.active > 0) {
        if (nested_) lexerEnterNested();
        ++state_.active;
    }
    ~EvaluationScope() {
        --state_.active;
        if (nested_) lexerLeaveNested();
    }
    EvaluationScope(const EvaluationScope&) = delete;
    EvaluationScope& operator=(const EvaluationScope&) = delete;
    bool nested() const { return nested_; }

private:
    EvalState& state_;
    bool nested_;
};

struct Outcome {
    double value = 0;
    unsigned char type = kNumberType;
};

// The preparation and the parse, common to e_eval and de_eval. Returns -1 or
// the error code.
ErrorCode evaluate(std::string_view formula, int check, const char* caller, bool nested,
                   Outcome& out) {
    EvalState& s = evalState();
    setEError(ErrorCode::None);
    if (check != 0) {
        const ErrorCode checked = CheckFunctions();
        if (checked == ErrorCode::AmbiguousFunction || checked == ErrorCode::InvalidArgument)
            return checked;
    }
    s.prepared.assign(formula.data(), formula.size());
    for (char* c = s.prepared.data(); (c = static_cast<char*>(std::memchr(c, ',', static_cast<std::size_t>(s.prepared.data() + s.prepared.size() - c)))) != nullptr;)
        *c++ = '.';
    if (!varEntries(ListKind::Functs).empty() && !ReplaceFuncts(s.prepared)) return eError();
    setEError(ErrorCode::None);
    lexerStart(s.prepared);

    // While the parse runs, new matrices are temporaries of this evaluation.
    struct MarkScope {
        MatrixMark mark = beginMatrixEvaluation();
        ~MarkScope() { endMatrixEvaluation(mark); }
    };
    MatrixMark mark;
    {
        MarkScope scope;
        mark = scope.mark;
        e_nxt();
        out.value = e_prs(1, &out.type);
    }
    s.resultType = out.type;

    if (currentToken().kind != Tok::End && eError() == ErrorCode::None) {
        failReplacing(ErrorCode::EvaluatorSyntax, caller,
                      "Syntax error, token = '" + currentElement() + "' after the formula");
    }
    if (eError() != ErrorCode::None) {
        dropTemporariesSince(mark, 0);
        return eError();
    }
    if (out.type == kMatrixType) {
        const std::intptr_t result = matrixAddress(out.value);
        if (nested) {
            dropTemporariesSince(mark, result);
        } else {
            ClearMatrixList(result);
        }
    } else {
        // A number result (det of a matrix, say) needs none of the temporaries.
        dropTemporariesSince(mark, 0);
    }
    return ErrorCode::None;
}

// Fields "name=body" of the function list text, in list order, up to the
// first empty field; `visit` gets the field and its position in the list.
template <class Visit>
void walkFunctionList(const std::string& list, Visit visit) {
    std::size_t p = 0;
    while (p < list.size()) {
        std::size_t e = list.find(';', p);
        if (e == std::string::npos) e = list.size();
        const std::string_view field(list.data() + p, e - p);
        if (field.empty()) break;
        if (!visit(field, p, e)) break;
        p = e + 1;
    }
}

constexpr std::size_t kNpos = std::string_view::npos;

// Where a name occurs in a text: its first and its last start.
struct Occurrence {
    std::size_t first = kNpos;
    std::size_t last = kNpos;
};

// Counts characters read against kMaxEvaluatedText; false once beyond it.
bool charge(std::uint64_t& searched, std::uint64_t characters) {
    searched += std::min<std::uint64_t>(characters, kMaxEvaluatedText + 1);
    if (searched > kMaxEvaluatedText) searched = kMaxEvaluatedText + 1;
    return searched <= kMaxEvaluatedText;
}

// Names of one length, many of them: polynomial hashes of every window of
// that length, rolled along the text once, against the hashes of the names.
// A hash may be shared by another text: the places found are only
// candidates, which the caller verifies.
constexpr std::uint64_t kHashBase = 0x100000001B3ull;

std::uint64_t hashOf(std::string_view text) {
    std::uint64_t h = 0;
    for (char c : text) h = h * kHashBase + static_cast<unsigned char>(c);
    return h;
}

void hashedPlaces(std::string_view text, std::size_t length,
                  const std::vector<std::string_view>& names, const std::vector<std::size_t>& group,
                  std::vector<Occurrence>& found) {
    std::unordered_map<std::uint64_t, Occurrence> places;
    // A bit per top 16 bits of a name's hash keeps most windows away from the map.
    std::vector<std::uint64_t> filter(1024, 0);
    const auto bit = [](std::uint64_t h) { return static_cast<std::size_t>(h >> 48); };
    for (std::size_t k : group) {
        const std::uint64_t h = hashOf(names[k]);
        places.emplace(h, Occurrence{});
        filter[bit(h) >> 6] |= std::uint64_t{1} << (bit(h) & 63);
    }
    std::uint64_t power = 1;  // kHashBase^length: the weight of the character that leaves
    for (std::size_t i = 0; i < length; ++i) power *= kHashBase;
    const auto at = [&](std::size_t i) {
        return static_cast<std::uint64_t>(static_cast<unsigned char>(text[i]));
    };
    std::uint64_t h = hashOf(text.substr(0, length));
    for (std::size_t pos = 0;; ++pos) {
        if (filter[bit(h) >> 6] >> (bit(h) & 63) & 1) {
            const auto it = places.find(h);
            if (it != places.end()) {
                if (it->second.first == kNpos) it->second.first = pos;
                it->second.last = pos;
            }
        }
        if (pos + length >= text.size()) break;
        h = h * kHashBase + at(pos + length) - at(pos) * power;
    }
    for (std::size_t k : group) found[k] = places[hashOf(names[k])];
}

// The first and last start of every name in the text. False when that would
// read more than kMaxEvaluatedText characters.
bool findOccurrences(std::string_view text, const std::vector<std::string_view>& names,
                     std::vector<Occurrence>& found, std::uint64_t& searched) {
    // A few names of a length are searched for directly.
    constexpr std::size_t kDirectSearches = 8;
    found.assign(names.size(), Occurrence{});
    std::map<std::size_t, std::vector<std::size_t>> byLength;
    for (std::size_t k = 0; k < names.size(); ++k)
        if (names[k].size() <= text.size()) byLength[names[k].size()].push_back(k);
    // What the searches will read is known before any of them starts.
    const std::uint64_t n = text.size();
    std::uint64_t planned = 0;
    for (const auto& entry : byLength) {
        const std::uint64_t passes =
            entry.second.size() <= kDirectSearches ? 2 * entry.second.size() : 1;
        if (!charge(planned, passes * n)) return false;
    }
    if (!charge(searched, planned)) return false;
    const auto search = [&](std::size_t k) {
        found[k].first = text.find(names[k]);
        found[k].last = found[k].first == kNpos ? kNpos : text.rfind(names[k]);
    };
    for (const auto& entry : byLength) {
        // Named, not bound: a structured binding cannot be captured in C++17.
        const std::size_t length = entry.first;
        const auto& group = entry.second;
        if (group.size() <= kDirectSearches) {
            for (std::size_t k : group) search(k);
            continue;
        }
        hashedPlaces(text, length, names, group, found);
        for (std::size_t k : group) {
            const auto holds = [&](std::size_t pos) {
                return pos == kNpos || text.compare(pos, length, names[k]) == 0;
            };
            if (holds(found[k].first) && holds(found[k].last)) continue;
            if (!charge(searched, 2 * n)) return false;
            search(k);
        }
    }
    return true;
}

// The check of CheckFunctions on a list: None, AmbiguousFunction with the
// offending name in the log entry, or InvalidArgument when the list is too
// large to search.
ErrorCode checkFunctionList(const std::string& list, std::string& detail) {
    struct Field {
        std::string_view name;
        std::size_t p, e;
    };
    std::vector<Field> fields;
    std::vector<std::string_view> names;
    walkFunctionList(list, [&](std::string_view field, std::size_t p, std::size_t e) {
        const std::size_t eq = field.find('=');
        if (eq != std::string_view::npos && eq != 0) {
            fields.push_back({field.substr(0, eq), p, e});
            names.push_back(field.substr(0, eq));
        }
        return true;
    });
    std::vector<Occurrence> found;
    std::uint64_t searched = 0;
    if (!findOccurrences(list, names, found, searched)) {
        detail = "The list of " + std::to_string(names.size()) + " user functions (" +
                 std::to_string(list.size()) + " characters) is too long to search for their "
                 "names: more than " + std::to_string(kMaxEvaluatedText) + " characters to read";
        return ErrorCode::InvalidArgument;
    }
    // A name conflicts when it occurs in the list before its own entry or
    // after that entry's ";".
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const Field& f = fields[k];
        const std::size_t m = f.name.size();
        const bool before = found[k].first != kNpos && f.p >= m && found[k].first <= f.p - m;
        const bool after = found[k].last != kNpos && found[k].last >= f.e + 1;
        if (before || after) {
            detail = "sFuncts: " + list + "\r\nFunct: " + std::string(f.name);
            return ErrorCode::AmbiguousFunction;
        }
    }
    return ErrorCode::None;
}

// ReplaceFuncts without its log entry: false, with the reason in `problem`,
// when the formula would grow too long or the search read too much.
// `searched` counts the characters the search and the lowering read.
bool expandFunctions(std::string& formula, std::uint64_t& searched, std::string& problem) {
    const std::string& list = varFuncListText(ListKind::Functs);
    bool ok = true;
    charge(searched, list.size());
    std::string lowered = lowerAscii(formula), out;
    charge(searched, formula.size());
    walkFunctionList(list, [&](std::string_view field, std::size_t, std::size_t) {
        const std::size_t eq = field.find('=');
        if (eq == std::string_view::npos || eq == 0) return true;
        if (!charge(searched, lowered.size())) {
            problem = "The formula of " + std::to_string(formula.size()) +
                      " characters would be searched for the user functions beyond " +
                      std::to_string(kMaxEvaluatedText) + " characters";
            ok = false;
            return false;
        }
        const std::string name = lowerAscii(field.substr(0, eq));
        std::size_t at = lowered.find(name);
        if (at == std::string::npos) return true;
        const std::string_view body = field.substr(eq + 1);
        out.clear();
        std::size_t from = 0;
        for (; at != std::string::npos; at = lowered.find(name, from)) {
            out.append(formula, from, at - from);
            out += '(';
            out.append(body.data(), body.size());
            out += ')';
            from = at + name.size();
            if (out.size() + (formula.size() - from) > kMaxPreparedFormula) {
                problem = "With the user function " + name + " expanded the formula grows beyond " +
                          std::to_string(kMaxPreparedFormula) + " characters";
                ok = false;
                return false;
            }
        }
        out.append(formula, from, std::string::npos);
        formula.swap(out);
        // The next name is searched in the expanded formula.
        lowered = lowerAscii(formula);
        charge(searched, formula.size());
        return true;
    });
    return ok;
}

}  // namespace

int e_eval(std::string_view formula, double* result, int check) {
    EvalState& s = evalState();
    ++s.runCount;
    EvaluationScope scope;
    Outcome out;
    const ErrorCode code = evaluate(formula, check, "e_eval", scope.nested(), out);
    if (code != ErrorCode::None) return codeNumber(code);
    if (result) *result = out.value;
    return out.type == kMatrixType ? 1 : 0;
}

PeekedValue peekValue(std::string_view formula) {
    EvalState& s = evalState();
    const ErrorCode savedError = eError();
    const int savedType = s.resultType;
    const int savedSwitch = messageSwitch();
    const int savedTrace = SetDebugF(0);
    const bool savedMute = muteErrorLog(true);
    ShowMsgs(0);

    PeekedValue peeked;
    {
        EvaluationScope scope;
        Outcome out;
        // As a nested evaluation it drops its own temporaries, result aside,
        // and leaves those of earlier evaluations alone.
        peeked.error = evaluate(formula, 1, "e_eval", true, out);
        if (peeked.error == ErrorCode::None && out.type == kMatrixType) {
            const std::intptr_t address = matrixAddress(out.value);
            if (const MatrixRecord* r = findMatrixByAddress(address)) {
                peeked.isMatrix = true;
                peeked.rows = r->rows;
                peeked.cols = r->cols;
                peeked.elements = r->elements;
            } else {
                peeked.error = ErrorCode::MatrixNotFound;
            }
            discardTemporary(address);
        } else if (peeked.error == ErrorCode::None) {
            peeked.number = out.value;
        }
    }

    ShowMsgs(savedSwitch);
    SetDebugF(savedTrace);
    muteErrorLog(savedMute);
    s.resultType = savedType;
    setEError(savedError);
    return peeked;
}

bool evaluationActive() { return evalState().active > 0; }

double de_eval(std::string_view formula, int check) {
    EvaluationScope scope;
    Outcome out;
    const ErrorCode code = evaluate(formula, check, "de_eval", scope.nested(), out);
    if (code != ErrorCode::None) return codeNumber(code);
    if (out.type == kMatrixType) {
        // The result lives on as "[mResult]"; its block moves there, so the
        // value stays the address of a stored matrix.
        const std::intptr_t address = renameMatrix(matrixAddress(out.value), "[mResult]");
        out.value = static_cast<double>(address);
    }
    return out.value;
}

bool pointTextsFit(const char* proc, std::uint64_t longestText, std::size_t occurrences,
                   std::string_view variable) {
    if (longestText <= kMaxPreparedFormula) return true;
    failReplacing(ErrorCode::InvalidArgument, proc,
                  "The variable " + std::string(variable) + " occurs " +
                      std::to_string(occurrences) +
                      " times: with a point's text in its place the formula could grow beyond " +
                      std::to_string(kMaxPreparedFormula) + " characters");
    return false;
}

ErrorCode e_evals(std::string_view formula, double start, std::string_view variable, double end,
                  int steps, double* xs, double* ys, double* bounds) {
    setEError(ErrorCode::None);
    // A step count typed by mistake would keep the caller busy for minutes.
    if (steps > kMaxTableSteps) {
        failReplacing(ErrorCode::InvalidArgument, "e_evals",
                      "steps = " + std::to_string(steps) + ": a table has at most " +
                          std::to_string(kMaxTableSteps) +
                          " steps, formula = " + std::string(formula));
        return ErrorCode::InvalidArgument;
    }
    PointEvaluator evaluator(formula, variable);
    PointFormula& points = evaluator.points();
    if (!pointTextsFit("e_evals", points.longestText(), points.occurrences(), variable) ||
        !withinEvaluationBudget("e_evals", evaluationWork(steps < 0 ? 0 : std::uint64_t(steps) + 1,
                                                          points.textAt(start))))
        return ErrorCode::InvalidArgument;

    const double step = (end - start) / steps;
    // The bounds start at the first point that has a value.
    struct {
        bool have = false;
        double loX = 0, loY = 0, hiX = 0, hiY = 0;
        void add(double x, double y) {
            if (!have) {
                loX = hiX = x;
                loY = hiY = y;
                have = true;
            }
            loX = std::min(loX, x);
            loY = std::min(loY, y);
            hiX = std::max(hiX, x);
            hiY = std::max(hiY, y);
        }
        // add() of each point in turn, the bounds held in registers.
        void addAll(const double* x, const double* y, std::size_t n) {
            if (!have) add(x[0], y[0]);
            double lx = loX, ly = loY, hx = hiX, hy = hiY;
            for (std::size_t k = 0; k < n; ++k) {
                lx = std::min(lx, x[k]);
                ly = std::min(ly, y[k]);
                hx = std::max(hx, x[k]);
                hy = std::max(hy, y[k]);
            }
            loX = lx;
            loY = ly;
            hiX = hx;
            hiY = hy;
        }
    } box;
    double x = start, y = 0, lastX = start;
    ErrorCode lastCode = ErrorCode::None;
    long long i = 0;
    constexpr std::size_t kBlock = PreparedFormula::kBlock;
    double blockX[kBlock], blockY[kBlock];
    while (x <= end && i <= steps) {
        // The next points by the prepared form, as far as it serves them
        // (each x the previous one plus the step, as below).
        std::size_t count = 0;
        if (evaluator.prepared()) {
            const std::size_t most =
                static_cast<std::size_t>(std::min<long long>(kBlock, steps - i + 1));
            for (double t = x; count < most && t <= end; t += step) blockX[count++] = t;
        }
        const std::size_t served = evaluator.preparedBlock(blockX, blockY, count);
        if (served > 0) {
            box.addAll(blockX, blockY, served);
            if (xs) std::copy(blockX, blockX + served, xs + i);
            if (ys) std::copy(blockY, blockY + served, ys + i);
            i += static_cast<long long>(served);
            lastCode = ErrorCode::None;
            lastX = blockX[served - 1];
            y = blockY[served - 1];
            x = served < count ? blockX[served] : blockX[served - 1] + step;
        }
        if (served < count || count == 0) {
            evaluator.at(x, &y);  // a failed point keeps the previous y
            lastCode = eError();
            lastX = x;
            if (lastCode == ErrorCode::None) box.add(x, y);
            if (xs) xs[i] = x;
            if (ys) ys[i] = y;
            x += step;
            ++i;
        }
    }
    // Points the loop did not reach read 0, as in a fresh table.
    for (; i <= steps; ++i) {
        if (xs) xs[i] = 0;
        if (ys) ys[i] = 0;
    }
    if (bounds) {
        const double b[5] = {0, box.loX, box.loY, box.hiX, box.hiY};
        std::copy(b, b + 5, bounds);
    }
    if (lastCode == ErrorCode::None) return ErrorCode::None;
    failReplacing(lastCode, "e_evals",
                  "x = " + shortNumber(lastX) + ", formula = " + std::string(formula));
    return lastCode;
}

int GetResultType() { return evalState().resultType; }

int SetBoolSign(int value) {
    if (value == 1 || value == -1) {
        evalState().trueValue = value;
    } else {
        showEvalError("Procedure: SetBoolSign\r\nWrong parameter. Must be 1 or -1");
    }
    return 0;
}

int trueValue() { return evalState().trueValue; }

int ReSetZeRarove() {
    ClearVarFuncList(ListKind::Vars);
    ClearVarFuncList(ListKind::Functs);
    ClearMatrixList(0);
    evalState().resultType = -1;
    ShowMsgs(0);
    LogError("ReSetZeRarove", 0, "", kLogClear);
    return 0;
}

ErrorCode CheckFunctions() {
    const std::string& list = varFuncListText(ListKind::Functs);
    if (list.empty()) return eError();
    EvalState& s = evalState();
    if (!s.checkKnown || s.checkedList != list) {
        s.checkResult = checkFunctionList(list, s.checkDetail);
        s.checkedList = list;
        s.checkKnown = true;
    }
    if (s.checkResult == ErrorCode::None) return ErrorCode::None;
    failReplacing(s.checkResult, "CheckFunctions", s.checkDetail);
    return s.checkResult;
}

bool ReplaceFuncts(std::string& formula) {
    std::uint64_t searched = 0;
    std::string problem;
    if (expandFunctions(formula, searched, problem)) return true;
    failReplacing(ErrorCode::InvalidArgument, "ReplaceFuncts", problem);
    return false;
}

std::uint64_t evaluationCost(std::string_view formula) {
    if (varEntries(ListKind::Functs).empty()) return formula.size();
    // Prepared as an evaluation prepares it, without its log entries.
    std::string text(formula);
    std::replace(text.begin(), text.end(), ',', '.');
    std::uint64_t searched = 0;
    std::string problem;
    // An expansion that fails does its work up to the longest formula first.
    const std::uint64_t length =
        expandFunctions(text, searched, problem) ? text.size() : kMaxPreparedFormula;
    return std::min(length + searched / 8, kMaxEvaluatedText + 1);
}

std::uint64_t evaluationWork(std::uint64_t evaluations, std::string_view formula) {
    if (evaluations == 0) return 0;
    const std::uint64_t cost = evaluationCost(formula);
    if (cost > (kMaxEvaluatedText + 1) / evaluations) return kMaxEvaluatedText + 1;
    return std::min(cost * evaluations, kMaxEvaluatedText + 1);
}

bool withinEvaluationBudget(const char* proc, std::uint64_t work) {
    if (work <= kMaxEvaluatedText) return true;
    failReplacing(ErrorCode::InvalidArgument, proc,
                  "Evaluating the formula at every point would read more than the " +
                      std::to_string(kMaxEvaluatedText) +
                      " characters of formula text one call may evaluate");
    return false;
}

int runCount() { return evalState().runCount; }

void notePreparedEvaluation(bool counted) {
    EvalState& s = evalState();
    if (counted) ++s.runCount;
    s.resultType = kNumberType;
    setEError(ErrorCode::None);
}

void notePreparedEvaluations(std::size_t count) {
    if (count == 0) return;
    EvalState& s = evalState();
    // The count is for trace lines: it wraps around rather than overflow.
    s.runCount = static_cast<int>(static_cast<unsigned>(s.runCount) + static_cast<unsigned>(count));
    s.resultType = kNumberType;
    setEError(ErrorCode::None);
}

void showEvalErrorKeeping(std::string_view text) {
    const ErrorCode code = eError();
    showEvalError(text);
    setEError(code);
}

void traceLine(std::string_view text, std::string_view title) {
    const ErrorCode code = eError();
    DebugAdd(text, title);
    setEError(code);
}

void resetEvaluator() { evalState() = EvalState{}; }

}  // namespace zrt
