// The lexer e_nxt: reads the evaluator's formula token by token and resolves
// variables and constants into numbers, so the parser never sees their names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace zrt {

// Token kinds (e_tok). Words and operators are their own kinds.
enum class Tok : std::uint8_t {
    End,  // the formula is used up
    Num,
    Hex,
    Bin,
    Const,
    Matrix,
    Id,
    // word operators
    And,
    Eqv,
    Imp,
    Mod,
    Not,
    Or,
    Xor,
    // matrix functions
    Det,
    Trace,
    Syst,
    Vcoeff,
    // statistics
    Min,
    Max,
    Avg,
    Sum,
    Sum2,
    Prod,
    Prod2,
    Stddev,
    Count,
    GeomMean,
    Median,
    Mean,
    // operators and punctuation
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Equal,
    Less,
    Greater,
    LessEqual,
    NotEqual,
    GreaterEqual,
    ShiftRight,
    LParen,
    RParen,
    Semicolon,
    Other,  // any other character
};

inline bool isStatisticsWord(Tok t) { return t >= Tok::Min && t <= Tok::Mean; }
inline bool isMatrixFunctionWord(Tok t) { return t >= Tok::Det && t <= Tok::Vcoeff; }
inline bool isOperatorWord(Tok t) { return t >= Tok::And && t <= Tok::Xor; }

// The names the lexer knows besides the built-in functions: the named
// constants, and the words (operators, matrix functions, statistics).
struct LexerWord {
    std::string_view name;
    Tok kind;
};
const std::vector<std::string_view>& lexerConstantNames();
const std::vector<LexerWord>& lexerWords();

// The current token as the parser reads it.
struct Token {
    Tok kind = Tok::End;
    // The spelling as read (names lower-cased, matrix names as written). It
    // points into the formula or the lexer's own buffer: valid until the next e_nxt.
    std::string_view spelling;
    double value = 0;       // Num: the number the parser reads
    bool resolved = false;  // Num made from a variable or a constant
    double source = 0;      // resolved: the value whose ten-decimal text is the element
    int function = -1;      // Id: number of the built-in function, -1 when there is none
    char suffix = 0;        // Matrix: 'I', 'T', 'D' or 0
};

// Starts scanning a prepared formula; the position count starts again at 0.
void lexerStart(std::string_view formula);

// Reads the next token; returns -1.
int e_nxt();

const Token& currentToken();

// e_tok: "num", "hex", "bin", "const", "matrix", "id", the word, or the
// operator's spelling; empty at the end of the formula.
std::string tokenText(const Token& token);
std::string tokenText(Tok kind);

// The element of the current token: its spelling, or for a variable or a
// constant the ten-decimal text of its value.
std::string currentElement();

// What the extended error report prints of the lexer's state.
// Fields longer than fieldCap are cut there (trace lines).
LexerReport lexerReport(std::size_t fieldCap = std::string::npos);

// An evaluation started while another one is under way (a host answering a
// message box by evaluating again) scans in a state of its own, so the outer
// formula and its token stay where they were.
void lexerEnterNested();
void lexerLeaveNested();

// What a name (lower case) stands for, classified as the lexer classifies it
// (words, then stored variables, then constants, then functions), without
// reporting anything: the word's token, Tok::Num with the value it enters
// with, or Tok::Id with the function's number (-1 for an unknown name).
struct NameMeaning {
    Tok kind = Tok::Id;
    double value = 0;
    int function = -1;
};
NameMeaning nameMeaning(std::string_view name);

// The value of a number token's spelling (digits and points), as the lexer
// reads it.
double numberTokenValue(std::string_view spelling);

// The token of a one-character operator or bracket; Tok::Other for any other
// character.
Tok singleCharacterToken(char c);

// Load-time state: no formula.
void resetLexer();

}  // namespace zrt
