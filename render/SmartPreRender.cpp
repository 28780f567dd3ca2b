// PF_Cmd_SMART_PRE_RENDER: parameters 1 to 6 at the current time into the pre-render record, the record into
// a host handle that travels with the request as the pre-render data, and the input layer requested under
// checkout id 0.
#include "FloatConversion.h"
#include "PreRenderData.h"
#include "RampRenderParams.h"
#include "RectUnion.h"

#include "../entry/Handlers.h"
#include "../framework/SmartWorlds.h"
#include "../params/ParamIndex.h"
#include "../suites/FirstError.h"

#include <cstring>

namespace Orvane {

namespace {

constexpr int kRecordParams = 6; // "Shape" to "Opacity", indices 1 to 6

double scaleOf(const PF_RationalScale& factor) {
    return static_cast<double>(factor.num) / static_cast<double>(factor.den);
}

float colorChannel(A_u_char byte) { return static_cast<float>(static_cast<float>(byte) / 255.0); }

RampRenderParams recordFrom(const PF_ParamDef (&defs)[kRecordParams], const PF_InData* in_data) {
    const double scaleX = scaleOf(in_data->downsample_x);
    const double scaleY = scaleOf(in_data->downsample_y);
    const PF_ParamDef& point1 = defs[kParamPoint1 - 1];
    const PF_ParamDef& point2 = defs[kParamPoint2 - 1];
    const PF_Pixel8& color = defs[kParamColor - 1].u.cd.value;

    RampRenderParams record;
    std::memset(&record, 0, sizeof record);
    record.shape = defs[kParamShape - 1].u.pd.value;
    record.point1[0] = point1.u.td.x_value / 65536.0 * scaleX;
    record.point1[1] = point1.u.td.y_value / 65536.0 * scaleY;
    record.point2[0] = point2.u.td.x_value / 65536.0 * scaleX;
    record.point2[1] = point2.u.td.y_value / 65536.0 * scaleY;
    record.repeat = defs[kParamRepeat - 1].u.pd.value;
    record.color[0] = colorChannel(color.alpha);
    record.color[1] = colorChannel(color.red);
    record.color[2] = colorChannel(color.green);
    record.color[3] = colorChannel(color.blue);
    record.opacity = toFloat(defs[kParamOpacity - 1].u.fs_d.value * 0.01);
    return record;
}

// Checks out parameters 1 to 6, stopping at the first failure, fills the record when all came, and checks
// every checked-out parameter back in.
PF_Err readParameters(PF_InData* in_data, RampRenderParams& stored) {
    PF_ParamDef defs[kRecordParams];
    std::memset(defs, 0, sizeof defs);
    PF_Err err = PF_Err_NONE;
    int checkedOut = 0;
    for (; checkedOut < kRecordParams; ++checkedOut) {
        err = in_data->inter.checkout_param(in_data->effect_ref, kParamShape + checkedOut, in_data->current_time,
                                            in_data->time_step, in_data->time_scale, &defs[checkedOut]);
        if (err) break;
    }
    if (!err) {
        const RampRenderParams record = recordFrom(defs, in_data);
        std::memcpy(&stored, &record, sizeof record);
    }
    for (int i = 0; i < checkedOut; ++i)
        keepFirstError(err, in_data->inter.checkin_param(in_data->effect_ref, &defs[i]));
    return err;
}

PF_Err requestInput(PF_InData* in_data, PF_PreRenderExtra* extra, PF_RenderRequest request) {
    request.preserve_rgb_of_zero_alpha = TRUE;
    PF_CheckoutResult result;
    std::memset(&result, 0, sizeof result);
    const PF_Err err =
        extra->cb->checkout_layer(in_data->effect_ref, kParamInputLayer, kInputCheckoutId, &request,
                                  in_data->current_time, in_data->time_step, in_data->time_scale, &result);
    if (err) return err;
    RectUnion(result.result_rect, extra->output->result_rect);
    RectUnion(result.max_result_rect, extra->output->max_result_rect);
    return PF_Err_NONE;
}

} // namespace

PF_Err smartPreRender(PF_InData* in_data, PF_OutData*, PF_PreRenderExtra* extra) {
    const PF_RenderRequest request = extra->input->output_request;
    // A factor with a zero denominator scales to nothing: such a request is refused before anything is
    // asked of the host, and nothing is stored.
    if (in_data->downsample_x.den == 0 || in_data->downsample_y.den == 0) return PF_Err_BAD_CALLBACK_PARAM;

    PreRenderData* data = nullptr;
    RampRenderParams* record = nullptr;
    if (const PF_Err err = makePreRenderData(in_data->pica_basicP, data, record)) return err;
    // From here the host holds the data and gives it back through this function once it no longer needs it.
    extra->output->pre_render_data = data;
    extra->output->delete_pre_render_data_func = deletePreRenderData;

    PF_Err err = readParameters(in_data, *record);
    if (!err) err = requestInput(in_data, extra, request);
    return err;
}

} // namespace Orvane
