/* Compiled as C11: the public header must stay usable from plain C. */
#include "zerith.h"

int zrt_header_check(void) {
    double v = 0;
    const zrt_char name[] = {'p', 'i', 0};
    return e_get_const(name, &v) + GetE_Error() + (ZRT_E_NONE - ZRT_M_OK);
}
