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

#ifdef __cplusplus
}
#endif

#endif /* ZERITH_H */
