/* The PF suites the framework uses: handles, worlds and generic iteration. */
#ifndef ORVANE_SDK_HOST_PF_SUITES_H
#define ORVANE_SDK_HOST_PF_SUITES_H

#include "host_effect.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long PF_PixelFormat;
enum {
    PF_PixelFormat_ARGB32 = 0x62677261,
    PF_PixelFormat_ARGB64 = 0x36316561,
    PF_PixelFormat_ARGB128 = 0x32336561,
    PF_PixelFormat_INVALID = 0x66646162
};

/* "PF Handle Suite" version 2 */
typedef struct PF_HandleSuite2 {
    PF_Handle (*host_new_handle)(A_HandleSize size);
    void *(*host_lock_handle)(PF_Handle pf_handle);
    void (*host_unlock_handle)(PF_Handle pf_handle);
    void (*host_dispose_handle)(PF_Handle pf_handle);
    A_HandleSize (*host_get_handle_size)(PF_Handle pf_handle);
} PF_HandleSuite2;

/* "PF World Suite" version 1 */
typedef struct PF_WorldSuite1 {
    PF_Err (*new_world)(PF_ProgPtr effect_ref, A_long width, A_long height, PF_NewWorldFlags flags,
                        PF_EffectWorld *world);
    PF_Err (*dispose_world)(PF_ProgPtr effect_ref, PF_EffectWorld *world);
} PF_WorldSuite1;

/* "PF World Suite" version 2 */
typedef struct PF_WorldSuite2 {
    PF_Err (*PF_NewWorld)(PF_ProgPtr effect_ref, A_long widthL, A_long heightL, PF_Boolean clear_pixB,
                          PF_PixelFormat pixel_format, PF_EffectWorld *worldP);
    PF_Err (*PF_DisposeWorld)(PF_ProgPtr effect_ref, PF_EffectWorld *worldP);
    PF_Err (*PF_GetPixelFormat)(const PF_EffectWorld *worldP, PF_PixelFormat *pixel_formatP);
} PF_WorldSuite2;

/* The function that "PF Iterate8 Suite" runs once per iteration, on the host's worker threads. */
typedef PF_Err (*PF_IterateGenericFunc)(void *refconPV, A_long thread_indexL, A_long i, A_long iterationsL);

/* "PF Iterate8 Suite" version 1 */
typedef struct PF_Iterate8Suite1 {
    PF_Err (*iterate_generic)(A_long iterationsL, void *refconPV, PF_IterateGenericFunc fn_func);
} PF_Iterate8Suite1;

#ifdef __cplusplus
}
#endif

#endif
