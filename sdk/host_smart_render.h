/* The two-pass smart-render protocol: the extra blocks of PF_Cmd_SMART_PRE_RENDER and PF_Cmd_SMART_RENDER. */
#ifndef ORVANE_SDK_HOST_SMART_RENDER_H
#define ORVANE_SDK_HOST_SMART_RENDER_H

#include "host_effect.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_u_long PF_ChannelMask;
typedef A_short PF_RenderOutputFlags;

typedef struct PF_RenderRequest {
    PF_LRect rect;
    PF_Field field;
    PF_ChannelMask channel_mask;
    A_Boolean preserve_rgb_of_zero_alpha;
    A_char unused[3];
    A_long reserved[4];
} PF_RenderRequest;

typedef struct PF_CheckoutResult {
    PF_LRect result_rect;
    PF_LRect max_result_rect;
    PF_RationalScale par;
    A_long solid;
    A_Boolean reservedB[3];
    A_long ref_width;
    A_long ref_height;
    A_long reserved[6];
} PF_CheckoutResult;

/* Called by the host with the pre-render data once it no longer needs it. */
typedef void (*PF_DeletePreRenderDataFunc)(void *pre_render_data);

typedef struct PF_PreRenderInput {
    PF_RenderRequest output_request;
    A_short bitdepth;
} PF_PreRenderInput;

typedef struct PF_PreRenderOutput {
    PF_LRect result_rect;
    PF_LRect max_result_rect;
    A_Boolean solid;
    A_Boolean reserved;
    PF_RenderOutputFlags flags;
    void *pre_render_data;
    PF_DeletePreRenderDataFunc delete_pre_render_data_func;
} PF_PreRenderOutput;

typedef struct PF_PreRenderCallbacks {
    PF_Err (*checkout_layer)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_idL,
                             const PF_RenderRequest *req, A_long what_time, A_long time_step, A_u_long time_scale,
                             PF_CheckoutResult *checkout_result);
} PF_PreRenderCallbacks;

typedef struct PF_PreRenderExtra {
    PF_PreRenderInput *input;
    PF_PreRenderOutput *output;
    PF_PreRenderCallbacks *cb;
} PF_PreRenderExtra;

typedef struct PF_SmartRenderInput {
    PF_RenderRequest output_request;
    A_short bitdepth;
    void *pre_render_data;
} PF_SmartRenderInput;

typedef struct PF_SmartRenderCallbacks {
    PF_Err (*checkout_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_idL, PF_EffectWorld **pixels);
    PF_Err (*checkin_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_idL);
    PF_Err (*checkout_output)(PF_ProgPtr effect_ref, PF_EffectWorld **output);
} PF_SmartRenderCallbacks;

typedef struct PF_SmartRenderExtra {
    PF_SmartRenderInput *input;
    PF_SmartRenderCallbacks *cb;
} PF_SmartRenderExtra;

#ifdef __cplusplus
}
#endif

#endif
