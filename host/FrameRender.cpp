#include "FrameRender.h"

#include "FrameSession.h"
#include "Worlds.h"

#include <chrono>
#include <cstring>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace OrvaneHost {

int downsampledSize(int size, const PF_RationalScale& factor) {
    if (factor.num <= 0 || factor.den == 0 || size <= 0) return size;
    const std::int64_t scaled = (std::int64_t(size) * factor.num + factor.den - 1) / factor.den;
    return scaled > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(scaled);
}

bool decodePreRenderRecord(const std::vector<unsigned char>& bytes, PreRenderRecordView& view) {
    if (bytes.size() != 60) return false;
    const unsigned char* p = bytes.data();
    std::memcpy(&view.shape, p + 0, 4);
    std::memcpy(view.point1, p + 4, 16);
    std::memcpy(view.point2, p + 20, 16);
    std::memcpy(&view.repeat, p + 36, 4);
    std::memcpy(view.color, p + 40, 16);
    std::memcpy(&view.opacity, p + 56, 4);
    return true;
}

namespace {

constexpr PF_ParamIndex kColorParam = 5;
constexpr PF_ParamIndex kOpacityParam = 6;
constexpr A_long kLoop = 2;

bool isKeyframed(Host& host, PF_ParamIndex index) {
    return std::size_t(index) < host.streams().size() && host.streams()[std::size_t(index)].keyframes.size() > 1;
}

// A keyframed parameter costs one stream value per table entry (Loop adds a copy of the first), and both
// tables have the same number of samples, so the requests divide evenly among the keyframed ones.
void countTableEntries(Host& host, FrameReport& report) {
    const bool color = isKeyframed(host, kColorParam);
    const bool opacity = isKeyframed(host, kOpacityParam);
    const std::size_t tables = std::size_t(color) + std::size_t(opacity);
    if (tables == 0 || report.streamValueRequests == 0) return;
    PreRenderRecordView record;
    const bool loop = decodePreRenderRecord(report.preRenderRecord, record) && record.repeat == kLoop;
    const std::size_t entries = report.streamValueRequests / tables + (loop ? 1 : 0);
    if (color) report.colorEntries = entries;
    if (opacity) report.opacityEntries = entries;
}

PF_Err fail(FrameReport& report, PF_Err err, const std::string& message) {
    report.err = err;
    report.message = message;
    return err;
}

PF_Err renderOne(Host& host, const LayerSetup& setup, A_long timeValue, Frame& out, FrameReport& report) {
    try {
        FrameSession session(host, setup, timeValue);
        PF_Err err = session.preRender();
        if (err) {
            fail(report, err, "smart pre-render failed with error " + std::to_string(err));
        } else {
            report.preRenderRecord = session.preRenderRecord();
            const auto start = std::chrono::steady_clock::now();
            err = session.smartRender();
            report.renderSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            report.streamValueRequests = session.state().streamValueRequests;
            if (err)
                fail(report, err, "smart render failed with error " + std::to_string(err));
            else
                countTableEntries(host, report);
        }
        // What a real host would find later as damage: bytes of another row's padding, or of the input.
        if (!session.nothingWrittenOutsideTheRows())
            host.books().hostError("the effect wrote outside the width pixels of the output's rows, or into its input");
        session.copyOutput(out);
        return report.err;
    } catch (const std::bad_alloc&) {
        return fail(report, PF_Err_OUT_OF_MEMORY, "the host ran out of memory for the frame's buffers");
    } catch (const std::invalid_argument& e) {
        return fail(report, PF_Err_BAD_CALLBACK_PARAM, e.what());
    }
}

// The other requests of a frame rendered at once; each copy is compared with the first when all are done.
struct Copies {
    std::vector<Frame> frames;
    std::vector<FrameReport> reports;
    std::vector<std::thread> threads;
};

void startCopies(Host& host, const LayerSetup& setup, A_long timeValue, int count, Copies& copies) {
    try {
        copies.frames.resize(std::size_t(count));
        copies.reports.resize(std::size_t(count));
        copies.threads.reserve(std::size_t(count));
        for (std::size_t i = 0; i < std::size_t(count); ++i)
            copies.threads.emplace_back([&host, &setup, &copies, timeValue, i] {
                renderOne(host, setup, timeValue, copies.frames[i], copies.reports[i]);
            });
    } catch (const std::system_error&) {
        // No thread to spare: fewer copies.
    } catch (const std::bad_alloc&) {
    }
}

void finishCopies(Host& host, const Frame& first, PF_Err err, Copies& copies) {
    for (std::size_t i = 0; i < copies.threads.size(); ++i) {
        copies.threads[i].join();
        if (copies.reports[i].err != err || (!err && copies.frames[i].bytes != first.bytes))
            host.books().hostError("a frame rendered at once with another came out different (result " +
                                   std::to_string(copies.reports[i].err) + ", first " + std::to_string(err) + ")");
    }
}

} // namespace

PF_Err renderFrame(Host& host, const LayerSetup& setup, A_long timeValue, Frame& out, FrameReport* reportOut) {
    FrameReport local;
    FrameReport& report = reportOut ? *reportOut : local;
    report = FrameReport{};
    if (pixelSizeOfDepth(setup.depth) == 0) return fail(report, PF_Err_BAD_CALLBACK_PARAM, "depth must be 8, 16 or 32");
    if (setup.width < 0 || setup.height < 0)
        return fail(report, PF_Err_BAD_CALLBACK_PARAM, "layer size must not be negative");
    const int width = downsampledSize(setup.width, setup.downsampleX);
    const int height = downsampledSize(setup.height, setup.downsampleY);
    if (checkWorldShape(width, height, setup.depth, host.behaviour().rowPaddingBytes))
        return fail(report, PF_Err_OUT_OF_MEMORY, "the layer is too large for the host");

    Copies copies;
    startCopies(host, setup, timeValue, host.behaviour().concurrentFrames - 1, copies);
    const PF_Err err = renderOne(host, setup, timeValue, out, report);
    finishCopies(host, out, err, copies);
    return err;
}

} // namespace OrvaneHost
