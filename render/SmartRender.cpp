// PF_Cmd_SMART_RENDER: the ramp drawn into the output over the input's pixel grid, from the pre-render
// record, the keyframe tables and the host's worker threads. One error variable; the first failure wins,
// and everything obtained is given back on every way out.
#include "KeyframeTables.h"
#include "PreRenderData.h"
#include "RampGeometry.h"
#include "RampPixel.h"
#include "RampRenderParams.h"
#include "RampRows.h"

#include "../entry/GlobalData.h"
#include "../entry/Handlers.h"
#include "../framework/Filter.h"
#include "../framework/PixelDepth.h"
#include "../framework/PixelFormat.h"
#include "../framework/SmartWorlds.h"
#include "../framework/VectorPath.h"
#include "../suites/ScopedAegpObject.h"
#include "../suites/SuiteTable.h"

#include <functional>
#include <memory>
#include <optional>

namespace Orvane {

namespace {

constexpr int kNoDepth = -1; // what the depth stays when the host reports a format the effect cannot draw

bool tableFits(std::size_t size, A_long entryCount) { return size == 0 || size == std::size_t(entryCount); }

// Steps from the geometry to the pixel pass. Its locals go in the reverse of their making: the row function,
// the ramp's rows, the position function, the filter, the opacity table, the colour table. The rows are
// painted on the widest vector path this machine runs, asked afresh for every render.
PF_Err drawRamp(PF_InData* in_data, SuiteTable& suites, AEGP_PluginID pluginId, AEGP_EffectRefH effect,
                const RampRenderParams& record, World& input, World& output, int depth) {
    const RampGeometry geometry = deriveGeometry(record, &input);
    const A_long samples = sampleCount(in_data->utils->ansi.ceil(geometry.rampLength));

    ColorTable colors;
    OpacityTable opacities;
    PF_Err err = sampleColorTable(suites, pluginId, effect, samples, colors);
    if (!err) err = sampleOpacityTable(suites, pluginId, effect, samples, opacities);
    if (err) return err;

    Filter::RowFilter filter(in_data, depth);
    filter.setWorlds(input.get(), output.get());
    const PositionFunction position = makePositionFunction(record.shape, record.repeat, geometry);
    A_long entryCount = samples;
    if (isLoop(record.repeat)) {
        closeLoop(colors);
        closeLoop(opacities);
        entryCount = samples + 1;
    }
    if (!tableFits(colors.size(), entryCount) || !tableFits(opacities.size(), entryCount))
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    const PF_PixelFloat color{record.color[0], record.color[1], record.color[2], record.color[3]};
    const RampRows rows(position, RampInputs{colors, opacities, color, record.opacity, geometry.rampLength, entryCount},
                        fastestVectorPath());
    const Filter::RowFunction paint = std::cref(rows);
    filter.setFunction(&paint);
    return filter.run();
}

} // namespace

PF_Err smartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra) {
    SuiteTable suites(in_data->pica_basicP);
    const AEGP_PluginID pluginId = pluginIdOf(in_data);
    RampRenderParams record;
    if (!readPreRenderRecord(in_data, extra->input->pre_render_data, record)) return PF_Err_BAD_CALLBACK_PARAM;

    std::shared_ptr<World> input;
    std::shared_ptr<World> output;
    // Disposed of before the worlds go, also while a thrown code or an allocation failure unwinds to the
    // entry point, which turns it into the host's code.
    std::optional<ScopedEffectRef> effect;
    AEGP_PFInterfaceSuite1& pfInterface = *suites.aegpPFInterfaceSuite1();
    AEGP_LayerH layer = nullptr; // not used: asking for it checks that the effect sits on a layer
    PF_Err err = pfInterface.AEGP_GetEffectLayer(in_data->effect_ref, &layer);
    if (!err) {
        // The disposal suite first, so that a refusal cannot leave a reference behind.
        effect.emplace(suites.aegpEffectSuite3()->AEGP_DisposeEffect);
        err = pfInterface.AEGP_GetNewEffectForEffect(pluginId, in_data->effect_ref, effect->receive());
    }
    if (!err) err = checkoutInputWorld(in_data, extra, input);
    if (!err) err = checkoutOutputWorld(in_data, extra, output);
    // A checkout may succeed without pixels (the layer has nothing where the frame asks): then there is
    // nothing to draw, and no world to ask about.
    const bool pixels = !err && input->get() && output->get();
    int depth = kNoDepth;
    if (pixels) err = getPixelDepth(in_data, out_data, input->get(), depth);
    // A buffer in a format none of the three depths is not drawn into, and that is no success.
    if (pixels && !err && !isPixelDepth(depth)) err = PF_Err_BAD_CALLBACK_PARAM;
    if (pixels && !err) err = in_data->inter.abort(in_data->effect_ref);
    if (pixels && !err) err = drawRamp(in_data, suites, pluginId, effect->get(), record, *input, *output, depth);
    if (effect) keepFirstError(err, effect->release());
    output.reset();
    input.reset();
    return err;
}

} // namespace Orvane
