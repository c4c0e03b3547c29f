/*
 * zerith.h - the C interface of the Zerith math library (Quillet.dll, libzerith.so).
 *
 * Texts are zero-terminated UTF-16 (zrt_char). Text results without a caller
 * buffer are owned by the library and stay valid until the next call of the same
 * function. Storage addresses and handles are pointer-sized (intptr_t).
 * Exports use ZRT_API (__stdcall on 32-bit Windows); names are undecorated.
 * The library is single-threaded: calls must not overlap.
 */
#ifndef ZERITH_H
#define ZERITH_H

#include <stdint.h>

#if defined(_WIN32)
#include <wchar.h>
typedef wchar_t zrt_char;
#if defined(_WIN64)
#define ZRT_API
#else
#define ZRT_API __stdcall
#endif
#define ZRT_CDECL __cdecl
#else
#ifndef __cplusplus
#include <uchar.h>
#endif
typedef char16_t zrt_char;
#define ZRT_API
#define ZRT_CDECL
#endif

#if defined(ZRT_BUILDING_LIBRARY) && !defined(_WIN32)
#define ZRT_EXPORT __attribute__((visibility("default")))
#else
#define ZRT_EXPORT
#endif

/* Flags the library calls "byte". */
typedef unsigned char zrt_byte;

/* Codes of e_error (GetE_Error, SetE_Error, GetE_ErrDescr); texts by GetE_ErrDescr. */
#define ZRT_E_NONE (-1)
#define ZRT_E_STOPPED 0 /* undefined error: stopped before completion */
#define ZRT_E_AMBIGUOUS_FUNCTION 1
#define ZRT_E_EVALUATOR_SYNTAX 2
#define ZRT_E_PARSER_SYNTAX 3
#define ZRT_E_UNDEFINED_FUNCTION 4
#define ZRT_E_VALUE_NOT_DEFINED 5
#define ZRT_E_TOKEN_MISMATCH 6
#define ZRT_E_NOT_FOUND 7
#define ZRT_E_DIVISION_BY_ZERO 8
#define ZRT_E_NOT_INTEGER 9
#define ZRT_E_CONDITION_NOT_FOUND 10
#define ZRT_E_WRONG_STRING_MATRIX 11
#define ZRT_E_TOO_FEW_ELEMENTS 12
#define ZRT_E_INVALID_ARGUMENT 13
#define ZRT_E_MATRIX_NOT_FOUND 14
#define ZRT_E_UNDEFINED_VARIABLE 16
#define ZRT_E_UNDEFINED_CUSTOM_FUNCTION 17
#define ZRT_E_UNDEFINED_CONSTANT 18
#define ZRT_E_UNKNOWN_METHOD 19     /* Integrate: method other than 0, 1, 2 */
#define ZRT_E_FOUND 21              /* FindVarFunct: found, not an error */
#define ZRT_E_ODD_SIMPSON_STEPS 22  /* Integrate: Simpson's rule with an odd n */
#define ZRT_E_UNDEFINED_COMMAND 25
#define ZRT_E_CURRENT (-99)         /* GetE_ErrDescr: the current e_error */

/* Status codes of the matrix functions (the a... family, GetMatrixByLong). */
#define ZRT_M_OK (-1)
#define ZRT_M_STOPPED 0
#define ZRT_M_ORDERS_NOT_EQUAL 4
#define ZRT_M_ORDERS_NOT_VALID 5
#define ZRT_M_NOT_SQUARE 6
#define ZRT_M_SINGULAR 7
#define ZRT_M_INVALID_PARAMETER 8
#define ZRT_M_VECTOR_EXPECTED 9
#define ZRT_M_WRONG_RANK 10
#define ZRT_M_WRONG_POINTS 11
#define ZRT_M_RANK_TOO_HIGH 12
#define ZRT_M_NO_SOLUTION 13
#define ZRT_M_TOO_MUCH_WORK 13      /* beyond the work a call may take */
#define ZRT_M_WRONG_SWAP 14
#define ZRT_M_NOT_DEFINED 15
#define ZRT_M_MATRIX_ZERO 16
#define ZRT_M_INVALID_ELEM_ORDER 17

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Errors: the process-wide code e_error (-1 none), its texts, status texts ---- */
ZRT_EXPORT int32_t ZRT_API GetE_Error(void);                        /* current e_error */
ZRT_EXPORT int32_t ZRT_API SetE_Error(int32_t code);                /* store and return code */
ZRT_EXPORT const zrt_char* ZRT_API GetE_ErrDescr(int32_t code, zrt_byte withLog); /* -99 = current */
ZRT_EXPORT const zrt_char* ZRT_API GetStErrDescr(int32_t code);     /* file/window status -9..-2 */

/* ---- Variables and user functions: kind 0 = variables, other = functions ---- */
ZRT_EXPORT int32_t ZRT_API SetVarFunct(const zrt_char* name, const zrt_char* value, int32_t kind); /* entries after store */
ZRT_EXPORT double ZRT_API FindVarFunctD(const zrt_char* name, int32_t kind, zrt_char* text, zrt_byte logF); /* value or formula length; text (optional) gets formula + 0 */
ZRT_EXPORT int32_t ZRT_API FindVarFunct(const zrt_char* name, int32_t kind, double* result, zrt_char* text); /* 21 found, else 0 */
ZRT_EXPORT int32_t ZRT_API ClearVarFuncList(const zrt_char* kindName);  /* "vars" or other; returns 1 */
ZRT_EXPORT int32_t ZRT_API GetVarFuncList(zrt_char* buffer, int32_t maxLen, const zrt_char* kindName); /* copies min(len,maxLen) + 0; buffer holds maxLen + 1 */
ZRT_EXPORT int32_t ZRT_API GetVarFuncListLen(const zrt_char* kindName); /* list length in characters */

/* ---- Number texts ---- */
ZRT_EXPORT const zrt_char* ZRT_API StrD0(const zrt_char* text);      /* trimmed number text */

/* ---- Constants ---- */
ZRT_EXPORT int32_t ZRT_API e_get_const(const zrt_char* name, double* value); /* 1 found (value optional), 0 not */

/* ---- Evaluator: e_eval, de_eval, e_evals and their settings ---- */
ZRT_EXPORT int32_t ZRT_API e_eval(const zrt_char* formula, double* result, int32_t check); /* 0 number, 1 matrix, else the code in e_error; check: test user functions */
ZRT_EXPORT double ZRT_API de_eval(const zrt_char* formula, int32_t check); /* the value, or the error code when e_error is not -1 */
ZRT_EXPORT int32_t ZRT_API e_evals(const zrt_char* formula, double start, const zrt_char* variable, double end,
                                   int32_t steps, double* xs, double* ys, double* bounds); /* steps + 1 points, 5 bounds; -1 or the last point's code */
ZRT_EXPORT int32_t ZRT_API GetResultType(void);                      /* type of the last result: 0 number, 1 matrix, -1 after reset */
ZRT_EXPORT int32_t ZRT_API GetEvalResult(zrt_char* buffer, int32_t copyFlag); /* batch result text: 0 = length; else copies up to the placeholder's length */
ZRT_EXPORT int32_t ZRT_API SetBoolSign(int32_t value);               /* 1 or -1: value of a true comparison; returns 0 */
ZRT_EXPORT int32_t ZRT_API ReSetZeRarove(void);                      /* clears variables, functions, matrices, error log; returns 0 */

/* ---- Matrix store: named matrices, storage addresses, listing ---- */
ZRT_EXPORT intptr_t ZRT_API SetMatrix(const zrt_char* name, intptr_t address, int32_t rows, int32_t cols,
                                      zrt_byte resultKind); /* copies the host array; index (0) or address (other) */
ZRT_EXPORT intptr_t ZRT_API SetStrMatrix(const zrt_char* definition, zrt_byte resultKind, zrt_byte evaluate); /* "name;rows;cols;e11;e12;..." */
ZRT_EXPORT intptr_t ZRT_API FindMatrix(const zrt_char* key, int32_t mode, int32_t* rows, int32_t* cols,
                                       zrt_byte logF); /* mode 33 by name -> address, 34 -> index, 8 by address text; 0 when missing */
ZRT_EXPORT int32_t ZRT_API GetMatrixByLong(intptr_t source, double* destination, int32_t rows, int32_t cols); /* -1, 15 unknown address, 5 bad size */
ZRT_EXPORT const zrt_char* ZRT_API GetMatrixList(zrt_byte withValues); /* listing of every stored matrix */
ZRT_EXPORT void ZRT_API ClearMatrixList(intptr_t keep);              /* 0: all; else the temporaries except keep */

/* ---- Element order of host arrays and array copies ---- */
ZRT_EXPORT int32_t ZRT_API aElemOrder(double* probe);                /* 2x2 probe: 0 row, 1 column order (stored) */
ZRT_EXPORT int32_t ZRT_API aElemOrderEx(double* array, int32_t action); /* 0 detect, 2 set from array[0], 3 get */
ZRT_EXPORT int32_t ZRT_API aElemOrderGet(void);                      /* 1 column, 0 row, -1 not set */
ZRT_EXPORT int32_t ZRT_API aElemOrderSet(int32_t order);             /* -1 stored; 17 invalid (flag -1) */
ZRT_EXPORT int32_t ZRT_API aElemOrderSt(const zrt_char* label);      /* "Visual Basic"/"VB" column order, else row; returns the flag */
ZRT_EXPORT int32_t ZRT_API aCopy(const double* source, int32_t rows, int32_t cols, double* destination);  /* plain copy; -1 */
ZRT_EXPORT int32_t ZRT_API aDupl(const double* source, int32_t rows, int32_t cols, double* destination);  /* plain copy; -1 */
ZRT_EXPORT int32_t ZRT_API aCopyArray(const double* source, double* destination, int32_t rows, int32_t cols); /* host order -> row order; -1 */

/* ---- Matrix library: determinant, inverse, products, systems, predicates ---- */
/* Matrices are caller arrays of rows x cols doubles, read and written in the element
 * order selected above; vectors are plain arrays. Status results: -1 done, else a code
 * of the aMatr table (5 orders not valid, 7 singular, 8 invalid parameter, 10 wrong
 * rank, 14 wrong swap, 15 null array), also kept as the matrix status where noted. */
ZRT_EXPORT int32_t ZRT_API aDet(const double* A, int32_t n, double* det);      /* determinant into *det; status kept */
ZRT_EXPORT double ZRT_API aDetN(const double* A, int32_t n);                   /* determinant (0 on bad arguments) */
ZRT_EXPORT int32_t ZRT_API aInv(double* A, int32_t n);                         /* inverse in place (adjugate up to order 10, LU above); 7 singular; kept */
ZRT_EXPORT int32_t ZRT_API aSist(const double* A, int32_t n, const double* v, double* w); /* A w = v (Cramer up to order 10, LU above); 7 singular */
ZRT_EXPORT int32_t ZRT_API aDiag(double* A, int32_t n);                        /* elimination pivots on the diagonal, in place */
ZRT_EXPORT int32_t ZRT_API aMultEx(const double* A, int32_t rA, int32_t cA, const double* B, int32_t rB, int32_t cB,
                                   double* C);                                /* C = A B (rA x cB); 10 when cA != rB; kept */
ZRT_EXPORT int32_t ZRT_API aMultSq(const double* A, int32_t n, const double* B, double* C); /* C = A B, n x n; kept */
ZRT_EXPORT int32_t ZRT_API aMultVect(const double* A, int32_t r, int32_t c, const double* v, double* w); /* w = A v */
ZRT_EXPORT int32_t ZRT_API aMultVectSq(const double* A, int32_t n, const double* v, double* w); /* w = A v, n x n */
ZRT_EXPORT int32_t ZRT_API aPow(const double* A, int32_t n, int32_t m, double* C); /* C = A^m (m 0: unit; m < 0: 8); kept */
ZRT_EXPORT int32_t ZRT_API aDiv(const double* A, int32_t n, const double* B, double* C); /* C = A B^-1; kept */
ZRT_EXPORT int32_t ZRT_API aSum(const double* A, int32_t r, int32_t c, const double* B, double* C);     /* C = A + B */
ZRT_EXPORT int32_t ZRT_API aDiff(const double* A, int32_t r, int32_t c, const double* B, double* C);    /* C = A - B */
ZRT_EXPORT int32_t ZRT_API aSumMem(const double* A, int32_t r, int32_t c, const double* B, double* C);  /* C = A + B, flat */
ZRT_EXPORT int32_t ZRT_API aDiffMem(const double* A, int32_t r, int32_t c, const double* B, double* C); /* C = A - B, flat */
ZRT_EXPORT int32_t ZRT_API aSumScal(double* A, int32_t r, int32_t c, double k);   /* A += k, in place */
ZRT_EXPORT int32_t ZRT_API aProdScal(double* A, int32_t r, int32_t c, double k);  /* A *= k, in place */
ZRT_EXPORT int32_t ZRT_API aOpp(double* A, int32_t r, int32_t c);                 /* A = -A, in place */
ZRT_EXPORT int32_t ZRT_API aTrace(const double* A, int32_t n, double* trace);     /* sum of the diagonal into *trace */
ZRT_EXPORT double ZRT_API aTraceN(const double* A, int32_t n);                    /* sum of the diagonal */
ZRT_EXPORT int32_t ZRT_API aTrasp(double* A, int32_t r, int32_t c);               /* in place; A becomes c x r */
ZRT_EXPORT int32_t ZRT_API aTraspEx(const double* A, int32_t r, int32_t c, double* C); /* C = transpose (c x r) */
ZRT_EXPORT int32_t ZRT_API aTraspSq(double* A, int32_t n);                        /* n x n transpose in place */
ZRT_EXPORT int32_t ZRT_API aSwap(double* A, int32_t r, int32_t c, double* B);     /* exchanges A and B; 15 null; kept */
ZRT_EXPORT int32_t ZRT_API aSwapRC(double* A, int32_t r, int32_t c, int32_t kind, int32_t i, int32_t j); /* kind != 0 rows, 0 columns, from 1; 14 */
ZRT_EXPORT int32_t ZRT_API aMatrMod(const double* v, int32_t n, double* result);  /* sqrt of the sum of squares */
ZRT_EXPORT int32_t ZRT_API aVectMod(const double* v, int32_t n, double* result);  /* same as aMatrMod */
ZRT_EXPORT int32_t ZRT_API aMatrIsZero(const double* A, int32_t n);               /* -1 all elements 0, else 0 */
ZRT_EXPORT int32_t ZRT_API aMatrIsUnit(const double* A, int32_t n);               /* -1 unit matrix, else 0 */
ZRT_EXPORT int32_t ZRT_API aMatrIsSing(const double* A, int32_t n);               /* -1 determinant 0, else 0 */
ZRT_EXPORT int32_t ZRT_API aMatrIsOrtog(const double* A, int32_t n);              /* -1 transpose = inverse, else 0 */
ZRT_EXPORT int32_t ZRT_API aMatrAreOrtog(const double* A, int32_t n, const double* B); /* -1 A B = unit, else 0 */
ZRT_EXPORT int32_t ZRT_API aMatrAreEquals(const double* A, int32_t rA, int32_t cA, const double* B, int32_t rB,
                                          int32_t cB);                        /* -1 same size and bytes, else 0 */
ZRT_EXPORT int32_t ZRT_API aCombine(void);                                     /* no operation; 0 */
ZRT_EXPORT int32_t ZRT_API aInsert(void);                                      /* no operation; 0 */
ZRT_EXPORT int32_t ZRT_API aSub(void);                                         /* no operation; 0 */

/* ---- Matrix display ---- */
ZRT_EXPORT const zrt_char* ZRT_API aShow(const double* A, int32_t r, int32_t c);       /* message box "Zerith.dll"; the text */
ZRT_EXPORT const zrt_char* ZRT_API aShowByLong(const double* A, int32_t r, int32_t c); /* same as aShow */
ZRT_EXPORT int32_t ZRT_API aPrintEx(const double* A, int32_t r, int32_t c, const zrt_char* destination,
                                    const zrt_char* format, const zrt_char* heading, const zrt_char* separator,
                                    zrt_char* buffer); /* buffer pre-filled to its capacity; bytes copied, 10 no fit, 1 no buffer */

/* ---- Numerical integration ---- */
/* The formula is evaluated at each point with the variable's name replaced by the
 * point's text. method: 0 midpoint, 1 trapezoidal, 2 Simpson (even n). */
ZRT_EXPORT int32_t ZRT_API Integrate(const zrt_char* formula, double a, double b, int32_t n, int32_t method,
                                     const zrt_char* variable, double* result); /* 0 done; 5 no result address, 13 n < 1 or > 10^7, 19 method, 22 odd n for Simpson, else the evaluator's code */
ZRT_EXPORT double ZRT_API dIntegrate(const zrt_char* formula, double a, double b, int32_t n, int32_t method,
                                     const zrt_char* variable); /* the integral; 0 on failure (code in e_error) */
ZRT_EXPORT int32_t ZRT_API IntBezier2D(int32_t p1, int32_t p2, int32_t p3, int32_t p4, int32_t p5, int32_t p6,
                                       int32_t p7, int32_t p8, int32_t p9, int32_t p10, int32_t p11,
                                       int32_t p12); /* no operation; 0 */

/* ---- Equation solvers ---- */
/* The variable is set to each x tried (ten decimals) and keeps the last one. The start value
 * walks over whole numbers from 0 until |f| <= 3 (at most 200 steps; never 0). */
ZRT_EXPORT int32_t ZRT_API NewtSolve(const zrt_char* formula, const zrt_char* variable, double* start); /* start value into *start; e_error (5 no address) */
ZRT_EXPORT double ZRT_API dPolySolve(const zrt_char* formula, const zrt_char* variable);  /* the start value */
ZRT_EXPORT const zrt_char* ZRT_API sPolyNewt(const zrt_char* formula, const zrt_char* variable, int32_t limit); /* start value text within limit steps ("" and 13 beyond 10^6) */
ZRT_EXPORT double ZRT_API dSolve(const zrt_char* formula, const zrt_char* variable);      /* root after 20 Newton steps (polynomial derivative) */
ZRT_EXPORT const zrt_char* ZRT_API sSolve(const zrt_char* formula, const zrt_char* variable, int32_t steps); /* root text after steps Newton steps (< 1: the start value; "" and 13 beyond 10^6) */
ZRT_EXPORT int32_t ZRT_API SolveD(const zrt_char* formula, const zrt_char* variable, double* root); /* 20 Newton steps with the symbolic derivative; last e_error (-1 ok); -1 unwritten when the derivation fails */

/* ---- Polynomials and interpolation ---- */
/* Coefficients in ascending powers c0 + c1 x + ...; X and the point table P (x, y per row)
 * are read in the element order selected above; status results as the matrix library's. */
ZRT_EXPORT const zrt_char* ZRT_API Poly_dydx(const zrt_char* polynomial, const zrt_char* variable); /* derivative text ("3x^4-2x+5" -> "12*x^3 - 2 + ") */
ZRT_EXPORT intptr_t ZRT_API lPoly_dydx(const zrt_char* polynomial, const zrt_char* variable); /* address of a library-owned zrt_char text (the derivative), valid until the next call; e_error -1 */
ZRT_EXPORT int32_t ZRT_API aGetYPolin(const double* x, const double* c, int32_t n, double* result); /* *result = c(*x); -1 */
ZRT_EXPORT int32_t ZRT_API aGetXsOfQuadr(const double* y, const double* c, int32_t n, double* x1, double* x2); /* c(x) = *y for n = 1..3; the matrix status (13 no solution) */
ZRT_EXPORT int32_t ZRT_API aCalcVectCoeff(const double* X, int32_t r, int32_t c, const double* y, double* a); /* least squares a = (X^T X)^-1 X^T y; -1, 7 singular; kept */
ZRT_EXPORT int32_t ZRT_API aCalcCoeffPolin(const double* P, int32_t m, int32_t k, double* a); /* k coefficients through m points; 12 k < 1 or k > m; kept */
ZRT_EXPORT int32_t ZRT_API InterpLin(const double* x, const double* x0, const double* x1, const double* y0,
                                     const double* y1, double* result); /* *result = y0 + (x-x0)/(x1-x0) (y1-y0); 0 */

/* ---- Number theory ---- */
ZRT_EXPORT int32_t ZRT_API IsPrime(int32_t a);             /* -1 prime, 0 not */
ZRT_EXPORT int32_t ZRT_API lIsPrime(int32_t a);            /* -1 prime, else smallest divisor > 1; 0 below 2 */
ZRT_EXPORT int32_t ZRT_API GCF(int32_t a, int32_t b);      /* greatest common factor (0 and e_error 5 beyond 2^31-1) */
ZRT_EXPORT int32_t ZRT_API LCM(int32_t a, int32_t b);      /* least common multiple >= 0 (same overflow rule) */
ZRT_EXPORT double ZRT_API fact(int32_t n);                 /* n! (1 below 2, infinity beyond 170) */
ZRT_EXPORT double ZRT_API fact_inv(void);                  /* no operation; 0.0 */

/* ---- Symbolic differentiation ---- */
ZRT_EXPORT int32_t ZRT_API e_diff(const zrt_char* formula, const zrt_char* variable, zrt_char* buffer, int32_t length); /* derivative length, 0 on error; copies <= the buffer's pre-filled text length + 0; length unused */
ZRT_EXPORT zrt_byte ZRT_API GetLast_diffErr(void);                  /* 0 ok, 7 empty formula, 1 other error */
ZRT_EXPORT zrt_byte ZRT_API SetDiffLogF(zrt_byte mode, const zrt_char* file); /* trace 0 off, 1 file ("Derive.Log"), 2 box, 3 count */
ZRT_EXPORT int32_t ZRT_API GetDiff_OperAndFuncs(zrt_char* buffer);  /* help text; returns bytes + 1; null buffer: length only */

/* ---- Library trace, error messages and switches ---- */
ZRT_EXPORT int32_t ZRT_API SetDebugF(int32_t mode);                  /* trace mode bits 1 silent, 2 box, 4 text; returns previous */
ZRT_EXPORT int32_t ZRT_API GetDebugLog(zrt_char* buffer, int32_t maxChars, zrt_byte show); /* bytes of the trace text; copies <= maxChars incl. 0 */
ZRT_EXPORT int32_t ZRT_API GetErrorMsgs(zrt_char* buffer, int32_t maxChars, zrt_byte show); /* bytes of the error log; same pattern */
ZRT_EXPORT int32_t ZRT_API SetErrorMsgsF(int32_t mode);              /* error-message mode; returns previous */
ZRT_EXPORT int32_t ZRT_API ShowMsgs(int32_t mode);                   /* message switch (bit 0: show evaluator errors); 0 */
ZRT_EXPORT const zrt_char* ZRT_API aPrint(const zrt_char* destination, const zrt_char* format, const zrt_char* heading,
                                          const zrt_char* separator, int32_t rows, int32_t cols, const double* elements,
                                          zrt_byte rowVector, zrt_byte colVector); /* matrix text; "MsgBox" (default), "Debug", "String" */

/* ---- Batch driver ---- */
ZRT_EXPORT int32_t ZRT_API zrtEvalMain(const zrt_char* parameterLine);  /* one batch run; -1 done, -2 not read, -3 not written, -4 cancelled, -5 no input */

/* ---- Library load hooks and Notepad++ plug-in interface ---- */
/* The records of Notepad++'s plug-in interface, laid out as Notepad++ reads them
 * (FuncItem: 144 bytes on 32-bit Windows, 152 on x64). */
typedef struct zrt_NppData {
    void* _nppHandle;              /* main window */
    void* _scintillaMainHandle;    /* main editing view */
    void* _scintillaSecondHandle;  /* second editing view */
} zrt_NppData;
typedef struct zrt_ShortcutKey {
    zrt_byte _isCtrl, _isAlt, _isShift; /* booleans */
    zrt_byte _key;                      /* virtual-key code */
} zrt_ShortcutKey;
typedef void(ZRT_CDECL* zrt_PluginCommand)(void);
typedef struct zrt_FuncItem {
    zrt_char _itemName[64];        /* caption, zero-terminated */
    zrt_PluginCommand _pFunc;      /* null for a separator */
    int32_t _cmdID;                /* item number; the host writes its own id here */
    zrt_byte _init2Check;          /* bool */
    zrt_ShortcutKey* _pShKey;      /* default shortcut or null */
} zrt_FuncItem;
ZRT_EXPORT void ZRT_CDECL setInfo(zrt_NppData data);                  /* keeps the three handles */
ZRT_EXPORT const zrt_char* ZRT_CDECL getName(void);                   /* "Quillet" */
ZRT_EXPORT zrt_FuncItem* ZRT_CDECL getFuncsArray(int32_t* count);     /* the 11 menu items; *count = 11 */
ZRT_EXPORT void ZRT_CDECL beNotified(void* notification);             /* SCNotification*; nothing to do */
ZRT_EXPORT intptr_t ZRT_CDECL messageProc(uint32_t message, uintptr_t wParam, intptr_t lParam); /* 0; first call subclasses */
ZRT_EXPORT int32_t ZRT_CDECL isUnicode(void);                         /* 1 */
ZRT_EXPORT int32_t ZRT_API zrtAttachProcess(void);                    /* library defaults for other hosts; 0 */
ZRT_EXPORT int32_t ZRT_API zrtAttachThread(void);                     /* thread marker -1; 0 */
ZRT_EXPORT int32_t ZRT_API zrtDetachThread(void);                     /* thread marker 0; 0 */
ZRT_EXPORT int32_t ZRT_API zrtDetachProcess(void);                    /* 0 */

/* ---- About, version and diagnostic exports ---- */
/* Buffers without a length argument are pre-filled by the caller to their capacity
 * (for example with blanks); at most that many characters and a zero are written. */
ZRT_EXPORT int32_t ZRT_API aAbout(void);                              /* box "About Zerith.dll - "; 0 */
ZRT_EXPORT int32_t ZRT_API DisplayVerInfo(const zrt_char* fileName, zrt_char* fileVersion,
                                          zrt_char* productVersion);  /* "" = this library; 1 read, 0 no version block */
ZRT_EXPORT const zrt_char* ZRT_API TestStr(const zrt_char* text);     /* two boxes; "123" */
ZRT_EXPORT void ZRT_API TestStrPtr(zrt_char* buffer);                 /* writes 11 "a" when the text holds >= 11 */
ZRT_EXPORT const zrt_char* ZRT_API TestStrPtr2(zrt_char* buffer);     /* writes 14 "a" when the text holds >= 14; the text */
ZRT_EXPORT int32_t ZRT_API DebugF(const zrt_char* text, zrt_byte mode, zrt_byte skip); /* file trace line; 0 */
ZRT_EXPORT int32_t ZRT_API SetErrorMsgs(const zrt_char* procedure, int32_t line, const zrt_char* detail); /* error log entry; its length */

/* ---- Plot ---- */
/* Diagnostic: where the window of plot n (opened by a script's Plot line) is. */
ZRT_EXPORT int32_t ZRT_API zrtDiagPlotWindow(int32_t plotNumber, int32_t* rect); /* 1 and rect x, y, inside width, height when open; else 0 */

#ifdef __cplusplus
}
#endif

#endif /* ZERITH_H */
