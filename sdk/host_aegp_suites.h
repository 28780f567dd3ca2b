/* The AEGP suites the effect uses: registration, effect references, layers, streams, keyframes, threads. */
#ifndef ORVANE_SDK_HOST_AEGP_SUITES_H
#define ORVANE_SDK_HOST_AEGP_SUITES_H

#include "host_effect.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long AEGP_PluginID;
typedef struct _AEGP_GlobalRefcon *AEGP_GlobalRefcon;
typedef struct _AEGP_EffectRefH *AEGP_EffectRefH;
typedef struct _AEGP_StreamRefH *AEGP_StreamRefH;
typedef struct _AEGP_LayerH *AEGP_LayerH;
typedef struct _AEGP_CompH *AEGP_CompH;
typedef A_long AEGP_KeyframeIndex;

typedef A_long AEGP_LTimeMode;
enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };

typedef A_long AEGP_DynStreamFlags;
enum { AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1, AEGP_DynStreamFlag_HIDDEN = 2, AEGP_DynStreamFlag_DISABLED = 4 };

typedef A_FpLong AEGP_OneDVal;
typedef struct AEGP_TwoDVal {
    A_FpLong x, y;
} AEGP_TwoDVal;
typedef struct AEGP_ThreeDVal {
    A_FpLong x, y, z;
} AEGP_ThreeDVal;
typedef struct AEGP_ColorVal {
    A_FpLong alphaF, redF, greenF, blueF; /* 0..1 */
} AEGP_ColorVal;

typedef union AEGP_StreamVal2 {
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
} AEGP_StreamVal2;

typedef struct AEGP_StreamValue2 {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

/* "AEGP Utility Suite" version 7 */
typedef struct AEGP_UtilitySuite7 {
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char *plugin_name,
                                   AEGP_PluginID *plugin_id);
} AEGP_UtilitySuite7;

/* "AEGP PF Interface Suite" version 1 */
typedef struct AEGP_PFInterfaceSuite1 {
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH *layerPH);
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_ref,
                                        AEGP_EffectRefH *effectPH);
} AEGP_PFInterfaceSuite1;

/* "AEGP Layer Suite" version 13 */
typedef struct AEGP_LayerSuite13 {
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH *compPH);
} AEGP_LayerSuite13;

/* "AEGP Effect Suite" versions 2 and 3 */
typedef struct AEGP_EffectSuite2 {
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
} AEGP_EffectSuite2;
typedef struct AEGP_EffectSuite3 {
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
} AEGP_EffectSuite3;

/* "AEGP Stream Suite" version 9 */
typedef struct AEGP_StreamSuite9 {
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effectH,
                                            PF_ParamIndex param_index, AEGP_StreamRefH *streamPH);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                    AEGP_LTimeMode time_mode, const A_Time *timePT, A_Boolean pre_expressionB,
                                    AEGP_StreamValue2 *valueP);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2 *valueP);
} AEGP_StreamSuite9;

/* "AEGP Dynamic Stream Suite" version 5 */
typedef struct AEGP_DynamicStreamSuite5 {
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag, A_Boolean undoableB,
                                       A_Boolean setB);
} AEGP_DynamicStreamSuite5;

/* "AEGP Keyframe Suite" version 4 */
typedef struct AEGP_KeyframeSuite4 {
    A_Err (*AEGP_GetStreamNumKFs)(AEGP_StreamRefH streamH, A_long *num_kfsPL);
    A_Err (*AEGP_GetKeyframeTime)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index, AEGP_LTimeMode time_mode,
                                  A_Time *timePT);
} AEGP_KeyframeSuite4;

/* "AEGP Iterate Suite" version 1 */
typedef struct AEGP_IterateSuite1 {
    A_Err (*AEGP_GetNumThreads)(A_long *num_threadsPL);
} AEGP_IterateSuite1;

#ifdef __cplusplus
}
#endif

#endif
