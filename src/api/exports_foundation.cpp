// Exports of the error table, the variable and function store, the number
// texts and the constants.
#include "api/abi.h"
#include "base/errors.h"
#include "evaluator/functions.h"
#include "base/numtext.h"
#include "memory/varstore.h"

using namespace zrt;
using zrt::abi::emptyText;
using zrt::abi::guard;
using zrt::abi::in;

// ---- Errors ----

int32_t ZRT_API GetE_Error(void) {
    return codeNumber(eError());
}

int32_t ZRT_API SetE_Error(int32_t code) {
    setEError(errorCodeOf(code));
    return code;
}

const zrt_char* ZRT_API GetE_ErrDescr(int32_t code, zrt_byte withLog) {
    static std::u16string slot;
    return guard("GetE_ErrDescr", emptyText(),
                 [&] { return abi::keep(slot, errorDescription(code, withLog != 0)); });
}

const zrt_char* ZRT_API GetStErrDescr(int32_t code) {
    static std::u16string slot;
    return guard("GetStErrDescr", emptyText(), [&] { return abi::keep(slot, statusText(code)); });
}

// ---- Variables and functions ----

int32_t ZRT_API SetVarFunct(const zrt_char* name, const zrt_char* value, int32_t kind) {
    return guard("SetVarFunct", 0,
                 [&] { return zrt::SetVarFunct(in(name), in(value), listKind(kind)); });
}

double ZRT_API FindVarFunctD(const zrt_char* name, int32_t kind, zrt_char* text, zrt_byte logF) {
    return guard("FindVarFunctD", 0.0, [&] {
        std::string formula;
        const double r = zrt::FindVarFunctD(in(name), listKind(kind), &formula, logF != 0);
        // The caller sized the buffer from an earlier call that returned the length.
        if (text && eError() == ErrorCode::Found && kind != 0) {
            const std::u16string f = toUtf16(formula);
            abi::copyOut(text, static_cast<int>(f.size()), f);
        }
        return r;
    });
}

int32_t ZRT_API FindVarFunct(const zrt_char* name, int32_t kind, double* result, zrt_char* text) {
    return guard("FindVarFunct", 0, [&] {
        std::string formula;
        const int r = zrt::FindVarFunct(in(name), listKind(kind), result, &formula);
        if (text && r == codeNumber(ErrorCode::Found) && kind != 0) {
            const std::u16string f = toUtf16(formula);
            abi::copyOut(text, static_cast<int>(f.size()), f);
        }
        return r;
    });
}

int32_t ZRT_API ClearVarFuncList(const zrt_char* kindName) {
    return guard("ClearVarFuncList", 1, [&] {
        zrt::ClearVarFuncList(listKind(in(kindName)));
        return 1;
    });
}

int32_t ZRT_API GetVarFuncList(zrt_char* buffer, int32_t maxLen, const zrt_char* kindName) {
    return guard("GetVarFuncList", 0, [&] {
        if (!buffer || maxLen < 0) return 0;
        return abi::copyOut(buffer, maxLen, toUtf16(varFuncListText(listKind(in(kindName)))));
    });
}

int32_t ZRT_API GetVarFuncListLen(const zrt_char* kindName) {
    return guard("GetVarFuncListLen", 0, [&] {
        return static_cast<int32_t>(varFuncListLength16(listKind(in(kindName))));
    });
}

// ---- Number texts ----

const zrt_char* ZRT_API StrD0(const zrt_char* text) {
    static std::u16string slot;
    return guard("StrD0", emptyText(), [&] { return abi::keep(slot, zrt::StrD0(in(text))); });
}

// ---- Constants ----

int32_t ZRT_API e_get_const(const zrt_char* name, double* value) {
    return guard("e_get_const", 0, [&] { return zrt::e_get_const(in(name), value); });
}
