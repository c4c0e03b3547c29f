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

/* ---- Matrix store: named matrices, storage addresses, listing ---- */

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

/* ---- Matrix display ---- */

/* ---- Numerical integration ---- */

/* ---- Equation solvers ---- */

/* ---- Polynomials and interpolation ---- */

/* ---- Number theory ---- */

/* ---- Symbolic differentiation ---- */

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

/* ---- Library load hooks and Notepad++ plug-in interface ---- */

/* ---- About, version and diagnostic exports ---- */

/* ---- Plot ---- */
/* Diagnostic exports: they plot a function of the caller's (the script command
   Plot does the same with a formula) so that a host can check plot windows and
   pictures. fn returns nonzero when *y holds the value at x; it must stay
   callable while the window is open ("Redraw" calls it again). */
typedef int32_t (ZRT_API *zrt_plot_fn)(double x, double* y);
ZRT_EXPORT int32_t ZRT_API zrtDiagPlot(const zrt_char* params, int32_t plotNumber, zrt_plot_fn fn); /* "expr; from; var; to; steps[; file]": 1, or 0 with e_error 13 */
ZRT_EXPORT int32_t ZRT_API zrtDiagPlotWindow(int32_t plotNumber, int32_t* rect); /* 1 and rect x, y, inside width, height when open; else 0 */
ZRT_EXPORT const zrt_char* ZRT_API zrtDiagSavePlot(int32_t plotNumber, const zrt_char* target); /* picture to clipboard; saved file name ("" none): target "", "0", "-1", folder\ or file */
ZRT_EXPORT int32_t ZRT_API zrtDiagClosePlots(void);                  /* closes every plot window, empties the plot table; 1 */

#ifdef __cplusplus
}
#endif

#endif /* ZERITH_H */
