#include "FrameRender.h"

#include "FrameSession.h"
#include "Worlds.h"

#include <chrono>
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

namespace {

PF_Err fail(FrameReport& report, PF_Err err, const std::string& message) {
    report.err = err;
    report.message = message;
    return err;
}

PF_Err renderOne(Host& host, const LayerSetup& setup, A_long timeValue, Frame& out, FrameReport& report) {
    try {
        FrameSession session(host, setup, timeValue);
        PF_Err err = session.preRender();
        report.checkedOut = session.state().checkedOut;
        if (err) {
            fail(report, err, "smart pre-render failed with error " + std::to_string(err));
        } else {
            const auto start = std::chrono::steady_clock::now();
            err = session.smartRender();
            report.renderSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            report.streamValueRequests = session.state().streamValueRequests;
            report.streamValueRequestsByParam = session.state().streamValueRequestsByParam;
            if (err) fail(report, err, "smart render failed with error " + std::to_string(err));
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
