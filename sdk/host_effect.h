/* The effect plug-in interface: commands, error codes, flags, pixels, worlds, parameters and the
 * in/out blocks the host passes on every call. Plain C structs and function pointers. */
#ifndef ORVANE_SDK_HOST_EFFECT_H
#define ORVANE_SDK_HOST_EFFECT_H

#include "host_basic_suite.h"
#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- errors ---------------------------------------------------------------------------------- */
typedef A_long PF_Err;
enum {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    PF_Err_INTERNAL_STRUCT_DAMAGED = 512,
    PF_Err_BAD_CALLBACK_PARAM = 516
};

/* ---- commands -------------------------------------------------------------------------------- */
typedef A_long PF_Cmd;
enum {
    PF_Cmd_ABOUT = 0,
    PF_Cmd_GLOBAL_SETUP = 1,
    PF_Cmd_GLOBAL_SETDOWN = 3,
    PF_Cmd_PARAMS_SETUP = 4,
    PF_Cmd_SEQUENCE_SETUP = 5,
    PF_Cmd_SEQUENCE_RESETUP = 6,
    PF_Cmd_SEQUENCE_FLATTEN = 7,
    PF_Cmd_SEQUENCE_SETDOWN = 8,
    PF_Cmd_DO_DIALOG = 9,
    PF_Cmd_FRAME_SETUP = 10,
    PF_Cmd_RENDER = 11,
    PF_Cmd_FRAME_SETDOWN = 12,
    PF_Cmd_USER_CHANGED_PARAM = 13,
    PF_Cmd_UPDATE_PARAMS_UI = 14,
    PF_Cmd_EVENT = 15,
    PF_Cmd_SMART_PRE_RENDER = 23,
    PF_Cmd_SMART_RENDER = 24
};

/* ---- versions and flags ------------------------------------------------------------------------ */
enum { PF_Stage_RELEASE = 3 };

typedef A_long PF_OutFlags;
enum {
    PF_OutFlag_DISPLAY_ERROR_MESSAGE = 1 << 8,
    PF_OutFlag_REFRESH_UI = 1 << 17,
    PF_OutFlag_FORCE_RERENDER = 1 << 22,
    PF_OutFlag_DEEP_COLOR_AWARE = 1 << 25,
    PF_OutFlag_SEND_UPDATE_PARAMS_UI = 1 << 26
};

typedef A_long PF_OutFlags2;
enum {
    PF_OutFlag2_SUPPORTS_SMART_RENDER = 1 << 10,
    PF_OutFlag2_FLOAT_COLOR_AWARE = 1 << 12
};

/* ---- geometry and pixels ----------------------------------------------------------------------- */
typedef A_long PF_Fixed; /* signed 16.16 fixed point */

typedef struct PF_RationalScale {
    A_long num;
    A_u_long den;
} PF_RationalScale;

typedef struct PF_LRect {
    A_long left, top, right, bottom;
} PF_LRect;
typedef PF_LRect PF_Rect;
typedef PF_LRect PF_UnionableRect;

typedef struct PF_Point {
    A_long h, v;
} PF_Point;

typedef struct PF_Pixel8 {
    A_u_char alpha, red, green, blue;
} PF_Pixel8;
typedef PF_Pixel8 PF_Pixel;

typedef struct PF_Pixel16 {
    A_u_short alpha, red, green, blue;
} PF_Pixel16;

typedef A_FpShort PF_FpShort;
typedef struct PF_PixelFloat {
    PF_FpShort alpha, red, green, blue;
} PF_PixelFloat;

typedef PF_Pixel8 *PF_PixelPtr;
typedef A_long PF_WorldFlags;
typedef A_Boolean PF_Boolean;

/* A pixel buffer: `rowbytes` bytes from one row to the next, pixels in the order alpha, red, green, blue. */
typedef struct PF_LayerDef {
    PF_WorldFlags world_flags;
    PF_PixelPtr data;
    A_long rowbytes;
    A_long width;
    A_long height;
    PF_UnionableRect extent_hint;
    void *platform_ref;
    PF_RationalScale pix_aspect_ratio;
    A_long origin_x;
    A_long origin_y;
    A_long dephault;
} PF_LayerDef;
typedef PF_LayerDef PF_EffectWorld;

/* ---- handles, progress and quality ------------------------------------------------------------- */
typedef void **PF_Handle;
typedef struct _PF_ProgressData *PF_ProgPtr; /* the host's opaque reference to one effect instance */

typedef A_long PF_Quality;
enum { PF_Quality_LO = 0, PF_Quality_HI = 1 };

typedef A_long PF_Field;
enum { PF_Field_FRAME = 0 };

typedef A_long PF_ModeFlags;
enum { PF_MF_Alpha_PREMUL = 0, PF_MF_Alpha_STRAIGHT = 1 };

typedef A_long PF_NewWorldFlags;
enum { PF_NewWorldFlag_NONE = 0, PF_NewWorldFlag_CLEAR_PIXELS = 1, PF_NewWorldFlag_DEEP_PIXELS = 2 };

typedef A_long PF_TransferMode;

typedef struct PF_CompositeMode {
    PF_TransferMode xfer;
    A_long rand_seed;
    A_u_char opacity;
    A_Boolean rgb_only;
    A_u_short opacitySu;
} PF_CompositeMode;

typedef struct PF_MaskWorld {
    PF_EffectWorld mask;
    PF_Point offset;
    A_long what_is_mask;
} PF_MaskWorld;

/* ---- parameters ------------------------------------------------------------------------------ */
typedef A_long PF_ParamIndex;
typedef A_long PF_ParamType;
enum {
    PF_Param_LAYER = 0,
    PF_Param_SLIDER = 1,
    PF_Param_COLOR = 5,
    PF_Param_POINT = 6,
    PF_Param_POPUP = 7,
    PF_Param_FLOAT_SLIDER = 10,
    PF_Param_BUTTON = 15
};

typedef A_long PF_ParamFlags;
enum {
    PF_ParamFlag_COLLAPSE_TWIRLY = 1 << 5,
    PF_ParamFlag_START_COLLAPSED = 1 << 5,
    PF_ParamFlag_SUPERVISE = 1 << 6
};

typedef A_long PF_ParamUIFlags;
typedef A_long PF_ChangeFlags;
enum { PF_ChangeFlag_CHANGED_VALUE = 1 };

typedef A_short PF_ValueDisplayFlags;
enum { PF_ValueDisplayFlag_NONE = 0, PF_ValueDisplayFlag_PERCENT = 1 };

typedef A_u_long PF_FSliderFlags;

#define PF_MAX_EFFECT_PARAM_NAME_LEN 31
#define PF_MAX_EFFECT_MSG_LEN 255
#define PF_MAX_EFFECT_NAME_LEN 31

typedef struct PF_SliderDef {
    A_long value;
    A_char value_str[32];
    A_char value_desc[32];
    A_long valid_min, valid_max;
    A_long slider_min, slider_max;
    A_long dephault;
} PF_SliderDef;

typedef struct PF_FloatSliderDef {
    A_FpLong value;
    A_FpLong phase;
    A_char value_desc[32];
    A_FpShort valid_min, valid_max;
    A_FpShort slider_min, slider_max;
    A_FpShort dephault;
    A_short precision;
    PF_ValueDisplayFlags display_flags;
    PF_FSliderFlags fs_flags;
    A_FpShort curve_tolerance;
    A_Boolean useExponent;
    A_FpShort exponent;
} PF_FloatSliderDef;

typedef struct PF_PointDef {
    PF_Fixed x_value;
    PF_Fixed y_value;
    A_char reserved[3];
    A_Boolean restrict_bounds;
    PF_Fixed x_dephault;
    PF_Fixed y_dephault;
} PF_PointDef;

typedef struct PF_ColorDef {
    PF_Pixel value;
    PF_Pixel dephault;
} PF_ColorDef;

typedef struct PF_PopupDef {
    A_long value;
    A_short num_choices;
    A_short dephault;
    union {
        const A_char *namesptr; /* choices separated by "|" */
    } u;
} PF_PopupDef;

typedef struct PF_ButtonDef {
    A_long value;
    union {
        const A_char *namesptr; /* the button's label */
    } u;
} PF_ButtonDef;

typedef union PF_ParamDefUnion {
    PF_LayerDef ld;
    PF_SliderDef sd;
    PF_FloatSliderDef fs_d;
    PF_PointDef td;
    PF_ColorDef cd;
    PF_PopupDef pd;
    PF_ButtonDef button_d;
} PF_ParamDefUnion;

typedef struct PF_ParamDef {
    union {
        A_long id;
        PF_ChangeFlags change_flags;
    } uu;
    PF_ParamUIFlags ui_flags;
    A_short ui_width;
    A_short ui_height;
    PF_ParamType param_type;
    A_char name[32];
    PF_ParamFlags flags;
    A_long unused;
    PF_ParamDefUnion u;
} PF_ParamDef;
typedef PF_ParamDef *PF_ParamDefPtr;
typedef PF_ParamDef **PF_ParamList;

typedef struct PF_UserChangedParamExtra {
    PF_ParamIndex param_index;
} PF_UserChangedParamExtra;

/* ---- callbacks --------------------------------------------------------------------------------- */
typedef struct PF_InteractCallbacks {
    PF_Err (*checkout_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                             A_u_long time_scale, PF_ParamDef *param);
    PF_Err (*checkin_param)(PF_ProgPtr effect_ref, PF_ParamDef *param);
    PF_Err (*add_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);
    PF_Err (*abort)(PF_ProgPtr effect_ref); /* non-zero: stop */
    PF_Err (*progress)(PF_ProgPtr effect_ref, A_long current, A_long total);
} PF_InteractCallbacks;

typedef struct PF_ANSICallbacks {
    A_FpLong (*ceil)(A_FpLong x);
    A_FpLong (*floor)(A_FpLong x);
    A_FpLong (*fmod)(A_FpLong x, A_FpLong y);
    A_FpLong (*sqrt)(A_FpLong x);
    A_long (*sprintf)(A_char *buffer, const A_char *format, ...);
    A_char *(*strcpy)(A_char *dest, const A_char *src);
} PF_ANSICallbacks;

typedef struct PF_UtilCallbacks {
    PF_Err (*copy)(PF_ProgPtr effect_ref, PF_EffectWorld *src, PF_EffectWorld *dst, PF_Rect *src_r, PF_Rect *dst_r);
    PF_Err (*fill)(PF_ProgPtr effect_ref, const PF_Pixel *color, const PF_Rect *dst_rect, PF_EffectWorld *world);
    PF_Err (*transfer_rect)(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                            const PF_Rect *src_rec, const PF_EffectWorld *src_world,
                            const PF_CompositeMode *comp_mode, const PF_MaskWorld *mask_world0, A_long dest_x,
                            A_long dest_y, PF_EffectWorld *dst_world);
    PF_Handle (*host_new_handle)(A_HandleSize size);
    void *(*host_lock_handle)(PF_Handle pf_handle);
    void (*host_unlock_handle)(PF_Handle pf_handle);
    void (*host_dispose_handle)(PF_Handle pf_handle);
    PF_ANSICallbacks ansi;
} PF_UtilCallbacks;

/* ---- the blocks of every call ------------------------------------------------------------------ */
typedef struct PF_InData {
    PF_InteractCallbacks inter;
    PF_UtilCallbacks *utils;
    PF_ProgPtr effect_ref;
    PF_Quality quality;
    A_u_long version;
    A_long num_params;
    A_long current_time;
    A_long time_step;
    A_long total_time;
    A_u_long time_scale;
    PF_Field field;
    A_long width;
    A_long height;
    PF_Rect extent_hint;
    PF_RationalScale downsample_x;
    PF_RationalScale downsample_y;
    PF_RationalScale pixel_aspect_ratio;
    A_long in_flags;
    PF_Handle global_data;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    SPBasicSuite *pica_basicP;
} PF_InData;

typedef struct PF_OutData {
    A_u_long my_version;
    A_char name[32];
    PF_Handle global_data;
    A_long num_params;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    A_long width;
    A_long height;
    PF_Point origin;
    PF_OutFlags out_flags;
    A_char return_msg[256];
    PF_OutFlags2 out_flags2;
} PF_OutData;

/* The one function an effect module exports. */
typedef PF_Err (*PF_EntryPointFunc)(PF_Cmd cmd, PF_InData *in_data, PF_OutData *out_data, PF_ParamDef *params[],
                                    PF_LayerDef *output, void *extra);

#ifdef __cplusplus
}
#endif

#endif
