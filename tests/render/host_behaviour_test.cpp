// Whole frames under the ways a real host may behave (rows padded by any bytes, iterations out of order and
// on other threads, fewer workers than iterations, no reported threads, handles that move, commands from
// other threads, coarse time scales, frames rendered at once, a stop at any abort check): every frame is
// byte-identical to a plain host's, nothing lands outside the rows' width pixels, and every pre-render block
// is freed exactly once. Then the behaviours themselves, so that none of them passes by doing nothing.
#include "RenderFixture.h"

#include "host/ThreadPool.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

struct SceneCase {
    A_long shape;  // a ShapeChoice
    A_long repeat; // a RepeatChoice
    int depth;
    bool keyframed;
};

std::vector<SceneCase> everyScene() {
    std::vector<SceneCase> scenes;
    for (A_long shape : {kShapeLinear, kShapeRadial})
        for (A_long repeat : {kRepeatNone, kRepeatLoop, kRepeatPingpong})
            for (int depth : {8, 16, 32})
                for (bool keyframed : {false, true}) scenes.push_back(SceneCase{shape, repeat, depth, keyframed});
    return scenes;
}

std::string nameOf(const SceneCase& s) {
    return std::string(s.shape == kShapeRadial ? "radial" : "linear") + ", repeat " + std::to_string(s.repeat) + ", " +
           std::to_string(s.depth) + " bits, " + (s.keyframed ? "keyframed" : "constant");
}

// The case's controls, keyframes in the host's own time units (they lie on whole 1/24 and 1/30 s).
void setScene(Host& host, const SceneCase& scene) {
    const A_u_long scale = host.behaviour().timeScale;
    const auto at = [scale](double seconds) { return timeAt(seconds, scale); };
    std::vector<Keyframe> colors, opacities;
    if (scene.keyframed) {
        colors = {{at(0), colorValue(1, 0.9, 0.1, 0.2)}, {at(0.5), colorValue(1, 0.1, 0.8, 0.3)},
                  {at(1), colorValue(1, 0.2, 0.3, 1.0)}};
        opacities = {{at(0), sliderValue(100)}, {at(1), sliderValue(20)}};
    }
    applyScene(host, Scene()
                         .set(kParamShape, popupValue(scene.shape))
                         .set(kParamRepeat, popupValue(scene.repeat))
                         .set(kParamPoint1, pointValue(7, 5))
                         .set(kParamPoint2, pointValue(47, 18)) // 42.06 pixels from Point 1: 43 samples per table
                         .set(kParamColor, colorValue(PF_Pixel8{255, 200, 100, 30}))
                         .set(kParamOpacity, sliderValue(70))
                         .keyframes(kParamColor, colors)
                         .keyframes(kParamOpacity, opacities));
}

std::unique_ptr<Host> hostBehaving(const HostBehaviour& behaviour) {
    auto host = loadModuleHost();
    host->setBehaviour(behaviour);
    EXPECT_EQ(applyEffect(*host), PF_Err_NONE);
    return host;
}

Frame renderScene(Host& host, const SceneCase& scene, PF_Err expected = PF_Err_NONE) {
    setScene(host, scene);
    LayerSetup layer;
    layer.width = 61;
    layer.height = 23;
    layer.depth = scene.depth;
    Frame frame;
    EXPECT_EQ(renderFrame(host, layer, unitsFromSeconds(0.5, host.behaviour().timeScale), frame), expected);
    return frame;
}

struct NamedBehaviour {
    const char* name;
    HostBehaviour behaviour;
};

// The plain host's behaviour with the changes `change` makes: settings that go together on one line.
NamedBehaviour named(const char* name, void (*change)(HostBehaviour&)) {
    HostBehaviour b;
    change(b);
    return {name, b};
}

std::vector<NamedBehaviour> hostBehaviours() {
    return {
        named("PaddedByTwentyBytesReversedWithHandlesThatMove", [](HostBehaviour& b) {
            b.rowPaddingBytes = 20;
            b.reportedThreads = 3; b.order = IterationOrder::Reverse;
            b.relocateUnlockedHandles = true;
        }),
        named("OddPaddingEightIterationsShuffledOnThreeSpawnedWorkersFromAnotherThread", [](HostBehaviour& b) {
            b.rowPaddingBytes = 13;
            b.reportedThreads = 8; b.workerThreads = 3; b.threadZeroSpawned = true;
            b.order = IterationOrder::Shuffled; b.jitter = true;
            b.renderOnOtherThread = true;
        }),
        named("NoReportedThreadsAtTwentyFourUnitsPerSecond", [](HostBehaviour& b) {
            b.rowPaddingBytes = 7;
            b.reportedThreads = 0;
            b.timeScale = 24;
            b.relocateUnlockedHandles = true;
        }),
        named("ThreeFramesAtOnceAtThirtyUnitsPerSecond", [](HostBehaviour& b) {
            b.rowPaddingBytes = 1;
            b.reportedThreads = 5; b.workerThreads = 2; b.order = IterationOrder::Shuffled; b.seed = 11;
            b.timeScale = 30;
            b.concurrentFrames = 3; b.renderOnOtherThread = true; b.relocateUnlockedHandles = true;
        }),
    };
}

void PrintTo(const NamedBehaviour& b, std::ostream* out) { *out << b.name; }

struct HostBehaviours : ::testing::TestWithParam<NamedBehaviour> {};

TEST_P(HostBehaviours, FramesAreThoseOfAPlainHostAndEverythingIsGivenBack) {
    const HostBehaviour& behaviour = GetParam().behaviour;
    const std::vector<SceneCase> scenes = everyScene();
    std::vector<Frame> expected;
    {
        auto plain = hostBehaving(HostBehaviour{}); // one host at a time
        for (const SceneCase& scene : scenes) expected.push_back(renderScene(*plain, scene));
    }
    auto host = hostBehaving(behaviour);
    std::size_t frames = 0;
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        SCOPED_TRACE(nameOf(scenes[i]));
        const Frame frame = renderScene(*host, scenes[i]);
        EXPECT_TRUE(frame.bytes == expected[i].bytes) << "the frame differs from the plain host's";
        EXPECT_TRUE(booksAreClean(*host)) << "(writes outside the rows are host errors)";
        frames += std::size_t(behaviour.concurrentFrames);
    }
    // One pre-render data per frame, each handed back once; every record handle made was disposed of once
    // (a second disposal would be a host error above).
    EXPECT_EQ(host->books().opened("pre-render data"), frames);
    EXPECT_EQ(host->books().opened("handle"), 1 + frames) << "the global data and one record per frame";
    EXPECT_EQ(host->liveHandles(), 1u);
}

INSTANTIATE_TEST_SUITE_P(RealHosts, HostBehaviours, ::testing::ValuesIn(hostBehaviours()),
                         [](const ::testing::TestParamInfo<NamedBehaviour>& info) { return info.param.name; });

// Hosts are independent: two running hosts (no recorder) in one process, each rendering a scene of its own
// on threads of its own at the same time, give each scene's own frames and keep their own books.
TEST(HostInstances, TwoHostsInOneProcessRenderTheirOwnScenesAtOnce) {
    const SceneCase scenes[2] = {{kShapeRadial, kRepeatPingpong, 16, true}, {kShapeLinear, kRepeatLoop, 32, true}};
    std::vector<Frame> expected;
    for (const SceneCase& scene : scenes) expected.push_back(renderScene(*hostBehaving(HostBehaviour{}), scene));
    ASSERT_NE(expected[0].bytes, expected[1].bytes);

    std::unique_ptr<Host> hosts[2];
    for (auto& host : hosts) {
        host = std::make_unique<Host>(std::string(ORVANE_MODULE_PATH), Recording::Off);
        HostBehaviour behaviour;
        behaviour.reportedThreads = 3;
        behaviour.renderOnOtherThread = true;
        host->setBehaviour(behaviour);
        ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
    }
    int differing[2] = {0, 0};
    std::thread renders[2];
    for (int h = 0; h < 2; ++h)
        renders[h] = std::thread([&, h] {
            for (int frame = 0; frame < 20; ++frame)
                if (renderScene(*hosts[h], scenes[h]).bytes != expected[std::size_t(h)].bytes) ++differing[h];
        });
    for (std::thread& render : renders) render.join();
    for (int h = 0; h < 2; ++h) {
        EXPECT_EQ(differing[h], 0) << "host " << h;
        EXPECT_TRUE(booksAreClean(*hosts[h])) << "host " << h;
        EXPECT_EQ(hosts[h]->books().opened("pre-render data"), 20u) << "each host served only its own frames";
    }
}

TEST(HostAbort, AStopAtAnyAbortCheckIsReturnedWithEverythingGivenBack) {
    HostBehaviour behaviour = hostBehaviours()[1].behaviour;
    behaviour.jitter = false;
    auto host = hostBehaving(behaviour);
    const SceneCase scene{kShapeRadial, kRepeatPingpong, 16, true};
    host->calls().reset();
    renderScene(*host, scene);
    const std::uint64_t checks = host->calls().countOf("abort");
    ASSERT_GT(checks, 3u);
    for (std::uint64_t k = 1; k <= checks + 1; ++k) {
        SCOPED_TRACE(k);
        behaviour.abortAtCall = k;
        behaviour.abortCode = 17;
        host->setBehaviour(behaviour);
        renderScene(*host, scene, k <= checks ? 17 : PF_Err_NONE);
        EXPECT_TRUE(booksAreClean(*host));
        EXPECT_EQ(host->liveHandles(), 1u);
    }
}

// ---- the behaviours themselves ---------------------------------------------------------------------------

TEST(HostTime, AStreamValueAtAnInstantIsTheSameWhateverTheScales) {
    const StreamValue red{1, 1, 0, 0}, green{1, 0, 1, 0.25}, blue{1, 0, 0, 1};
    ParamStream fine, coarse, mixed;
    for (auto [seconds, value] : {std::make_pair(0.0, red), std::make_pair(0.5, green), std::make_pair(1.0, blue)}) {
        addKeyframe(fine, A_Time{unitsFromSeconds(seconds), kTimeScale}, value);
        addKeyframe(coarse, A_Time{unitsFromSeconds(seconds, 24), 24}, value);
        addKeyframe(mixed, A_Time{unitsFromSeconds(seconds, 30), 30}, value);
    }
    for (A_long unit = -10; unit <= 1010; ++unit) {
        const A_Time thousandths{unit, 1000};
        const A_Time same{unit * 120, kTimeScale};
        ASSERT_EQ(valueAt(fine, same), valueAt(coarse, same)) << unit;
        ASSERT_EQ(valueAt(fine, same), valueAt(mixed, same)) << unit;
        ASSERT_EQ(valueAt(fine, same), valueAt(coarse, thousandths)) << unit;
    }
    EXPECT_EQ(valueAt(coarse, A_Time{3, 24}), (StreamValue{1, 0.75, 0.25, 0.0625})) << "an eighth of a second";
    EXPECT_EQ(valueAt(coarse, A_Time{7, 7}), blue) << "after the last keyframe";
}

// An entry point that does nothing but note the thread it runs on.
std::thread::id commandThread;
PF_Err recordThread(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*) {
    commandThread = std::this_thread::get_id();
    return PF_Err_NONE;
}

TEST(HostHandles, AHandleMovesWhenItsLastLockGoesAndItsOldBlockReadsGarbage) {
    Host host(&recordThread);
    HostBehaviour behaviour;
    behaviour.relocateUnlockedHandles = true;
    host.setBehaviour(behaviour);
    const PF_Handle handle = host.newHandle(8);
    auto* first = static_cast<unsigned char*>(host.lockHandle(handle));
    std::memcpy(first, "orvane!", 8);
    EXPECT_EQ(host.lockHandle(handle), first);
    host.unlockHandle(handle);
    EXPECT_EQ(*handle, first) << "still locked once";
    host.unlockHandle(handle);
    ASSERT_NE(*handle, first);
    EXPECT_EQ(std::memcmp(*handle, "orvane!", 8), 0);
    EXPECT_NE(std::memcmp(first, "orvane!", 8), 0);
    host.disposeHandle(handle);
    EXPECT_TRUE(booksAreClean(host));
}

TEST(HostThreads, RenderCommandsCanArriveOnAThreadOtherThanSetupsAndEachFrameHasItsOwnReference) {
    Host host(&recordThread);
    HostBehaviour behaviour;
    behaviour.renderOnOtherThread = true;
    host.setBehaviour(behaviour);
    ASSERT_EQ(host.globalSetup(), PF_Err_NONE);
    EXPECT_EQ(commandThread, std::this_thread::get_id());
    LayerSetup layer;
    layer.width = 4;
    layer.height = 4;
    FrameSession one(host, layer, 0), two(host, layer, 0);
    ASSERT_EQ(one.preRender(), PF_Err_NONE);
    EXPECT_NE(commandThread, std::this_thread::get_id());
    EXPECT_NE(one.inData().effect_ref, two.inData().effect_ref);
    EXPECT_NE(one.inData().effect_ref, host.effectRef());
    EXPECT_TRUE(host.isEffectRef(two.inData().effect_ref));
}

std::vector<A_long> orderOfRun(const PoolShape& shape, A_long iterations) {
    ThreadPool pool(shape);
    std::mutex mutex;
    std::vector<A_long> seen;
    pool.run(iterations, [&](int, A_long i) {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back(i);
    });
    return seen;
}

TEST(HostThreads, IterationsComeInTheOrderTheBehaviourSays) {
    PoolShape shape;
    shape.order = IterationOrder::Reverse;
    EXPECT_EQ(orderOfRun(shape, 5), (std::vector<A_long>{4, 3, 2, 1, 0}));
    shape.order = IterationOrder::Shuffled;
    std::vector<A_long> shuffled = orderOfRun(shape, 9);
    EXPECT_NE(shuffled, (std::vector<A_long>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, (std::vector<A_long>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(HostThreads, ASpawnedThreadZeroIsNotTheCallingThread) {
    PoolShape shape;
    shape.threads = 2;
    shape.threadZeroSpawned = true;
    ThreadPool pool(shape);
    std::set<std::thread::id> threadZero;
    std::mutex mutex;
    pool.run(6, [&](int thread, A_long) {
        std::lock_guard<std::mutex> lock(mutex);
        if (thread == 0) threadZero.insert(std::this_thread::get_id());
    });
    ASSERT_EQ(threadZero.size(), 1u);
    EXPECT_NE(*threadZero.begin(), std::this_thread::get_id());
}

// A system out of threads: the pool runs every iteration on the threads it could start, and its end joins
// each of them (it used to throw from its constructor with threads running, which were never joined).
TEST(HostThreads, APoolThatCannotStartAllItsThreadsRunsOnThoseItStartedAndJoinsThem) {
    for (bool spawnedZero : {false, true})
        for (int startable : {0, 2}) {
            SCOPED_TRACE(testing::Message() << startable << " startable, thread 0 spawned " << spawnedZero);
            int started = 0;
            const ThreadStarter limited = [&](std::function<void()> body) {
                if (started == startable) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
                ++started;
                return std::thread(std::move(body));
            };
            PoolShape shape;
            shape.threads = 6;
            shape.threadZeroSpawned = spawnedZero;
            std::vector<int> runs(40, 0);
            {
                ThreadPool pool(shape, limited);
                EXPECT_EQ(pool.threads(), startable == 0 ? 1 : (spawnedZero ? startable : startable + 1));
                pool.run(40, [&](int, A_long i) { ++runs[std::size_t(i)]; });
            }
            EXPECT_EQ(runs, std::vector<int>(40, 1));
        }
}

} // namespace
