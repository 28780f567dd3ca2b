// orvane-render in a pipeline, through the binary: frames to standard output for the next program, a
// sequence resumed (or split between machines) with --skip-existing, and --version.
#include "ImageFiles.h"
#include "ScratchFolder.h"
#include "ToolRun.h"

#include "entry/EffectIdentity.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

using namespace OrvaneToolsTest;

namespace {

constexpr int kUsage = 2, kModuleLoad = 3, kOutputWrite = 5, kStandardOutput = 6;

// A ramp that changes from frame to frame, so that frames in the wrong order or twice would show.
std::vector<std::string> rampOfSize(const std::string& size, std::initializer_list<std::string> more) {
    std::vector<std::string> args = {"--size", size, "--color", "0:#203060", "--color", "2:#f0c040",
                                     "--point1", "0,0", "--point2", "24,6", "--fps", "2"};
    args.insert(args.end(), more);
    return args;
}

std::vector<std::string> ramp(std::initializer_list<std::string> more) { return rampOfSize("24x6", more); }

std::string filesOneAfterAnother(const ScratchFolder& folder, const std::vector<std::string>& names) {
    std::string bytes;
    for (const std::string& name : names) bytes += fileBytes(folder.path(name));
    return bytes;
}

struct StreamCase {
    const char* format;
    const char* depth;
};

class FramesToStandardOutput : public ::testing::TestWithParam<StreamCase> {};

// Each frame of a sequence arrives on standard output exactly as its file would be, one after the other;
// --verbose and the messages go to standard error, so that the stream holds frames only.
TEST_P(FramesToStandardOutput, AreTheFilesOneAfterAnother) {
    ScratchFolder folder;
    const std::string format = GetParam().format;
    const ToolResult files =
        runRender(ramp({"--depth", GetParam().depth, "--frames", "0-2", "-o", folder.path("f-#." + format)}));
    ASSERT_EQ(files.exitCode, 0) << files.err;
    const ToolResult stream = runRender(ramp({"--depth", GetParam().depth, "--frames", "0-2", "-v", "-o", "-",
                                              "--format", format}));
    ASSERT_EQ(stream.exitCode, 0) << stream.err;
    EXPECT_EQ(stream.out, filesOneAfterAnother(folder, {"f-0." + format, "f-1." + format, "f-2." + format}));
    EXPECT_NE(stream.err.find("frame 2 at time 120000/120000"), std::string::npos) << stream.err;
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"f-0." + format, "f-1." + format, "f-2." + format}));
}

INSTANTIATE_TEST_SUITE_P(Formats, FramesToStandardOutput,
                         ::testing::Values(StreamCase{"pam", "8"}, StreamCase{"png", "16"}, StreamCase{"pfm", "32"}),
                         [](const auto& info) { return std::string(info.param.format) + info.param.depth; });

// Through a real pipe into a second program that starts reading late: the writer waits for it, and the
// whole stream arrives (four frames of 160 KB, more than a pipe holds).
TEST(StandardOutputPipe, CarriesEveryFrameIntoTheNextProgram) {
    ScratchFolder folder;
    ASSERT_EQ(runRender(rampOfSize("200x100", {"--depth", "16", "--frames", "0-3", "-o", folder.path("f-#.pam")})).exitCode,
              0);
    std::string command = "{ env -u ORVANE_MODULE '" ORVANE_RENDER_PATH "'";
    for (const std::string& arg : rampOfSize("200x100", {"--depth", "16", "--frames", "0-3", "-o", "-", "--format", "pam"}))
        command += " '" + arg + "'";
    command += "; echo $? > '" + folder.path("status") + "'; } | { sleep 0.3; cat > '" + folder.path("stream") + "'; }";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(fileBytes(folder.path("status")), "0\n");
    EXPECT_EQ(fileBytes(folder.path("stream")),
              filesOneAfterAnother(folder, {"f-0.pam", "f-1.pam", "f-2.pam", "f-3.pam"}));
}

// A render machine runs sequences for hours: a long sequence needs no more memory than a short one, written
// to standard output (one frame in flight) or to files (a frame in flight for each writer).
TEST(StandardOutputPipe, ALongSequenceNeedsTheMemoryOfOneFrame) {
    ScratchFolder folder;
    // AddressSanitizer holds freed memory back in a quarantine, which would count as memory the run holds.
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    const auto peak = [&](const std::string& frames, const std::vector<std::string>& output) {
        RunOptions discard;
        discard.standardOutput = "/dev/null";
        discard.environment = {{"ASAN_OPTIONS", std::string(sanitizerOptions ? sanitizerOptions : "") + ":quarantine_size_mb=0"}};
        std::vector<std::string> args = {"--size", "640x90", "--color", "0:#203060", "--color", "9:#f0c040",
                                         "--opacity", "0:100", "--opacity", "9:20", "--frames", frames};
        args.insert(args.end(), output.begin(), output.end());
        const ToolResult run = runRender(args, discard);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.peakKilobytes;
    };
    const std::vector<std::string> toStandardOutput = {"-o", "-", "--format", "pam"};
    const long one = peak("0-0", toStandardOutput), many = peak("0-299", toStandardOutput);
    // 300 frames asking 640 stream values each used to keep their every call: some 100 MB more.
    EXPECT_LT(many - one, 4 * 1024) << "one frame " << one << " KB, 300 frames " << many << " KB";
    EXPECT_GT(one, 0);
    const std::vector<std::string> toFiles = {"-o", folder.path("f-###.png")};
    const long few = peak("0-3", toFiles), lots = peak("0-299", toFiles);
    EXPECT_LT(lots - few, 4 * 1024) << "4 frames " << few << " KB, 300 frames " << lots << " KB";
}

// A reader that went away or a full disk stops the run with the exit code of standard output, never a death
// by SIGPIPE; a terminal is refused before anything is made.
TEST(StandardOutputPipe, AClosedOrFullOneOrATerminalIsRefused) {
    RunOptions closed;
    closed.closedStandardOutput = true;
    const ToolResult gone = runRender(ramp({"--frames", "0-2", "-o", "-", "--format", "png"}), closed);
    EXPECT_EQ(gone.signal, 0);
    EXPECT_EQ(gone.exitCode, kStandardOutput);
    EXPECT_NE(gone.err.find("cannot write frame 0 to standard output: Broken pipe"), std::string::npos) << gone.err;

    RunOptions full;
    full.standardOutput = "/dev/full";
    const ToolResult noRoom = runRender(ramp({"-o", "-", "--format", "pfm"}), full);
    EXPECT_EQ(noRoom.exitCode, kStandardOutput);
    EXPECT_NE(noRoom.err.find("to standard output: No space left on device"), std::string::npos) << noRoom.err;

    RunOptions terminal;
    terminal.terminal = true;
    const ToolResult screen = runRender(ramp({"-o", "-", "--format", "pam"}), terminal);
    EXPECT_EQ(screen.exitCode, kUsage);
    EXPECT_NE(screen.out.find("standard output, which is a terminal"), std::string::npos) << screen.out;
    EXPECT_EQ(screen.out.find("P7"), std::string::npos);
}

std::filesystem::file_time_type modified(const std::string& path) { return std::filesystem::last_write_time(path); }

// A stopped sequence resumes: the frames whose files exist are kept as they are, bytes and modification
// time (even one that is read-only, or that is not the frame the effect would draw), and only the missing
// ones are rendered, exactly as a whole run makes them. A temporary file that a killed run left behind has
// a name of its own and stands for no frame; it is left to whoever made it.
TEST(SkipExisting, RendersOnlyTheMissingFramesAndLeavesTheOthersUntouched) {
    ScratchFolder whole, folder;
    ASSERT_EQ(runRender(ramp({"--frames", "0-5", "-o", whole.path("f-##.pam")})).exitCode, 0);
    folder.write("f-00.pam", "not the frame the effect draws");
    folder.write("f-02.pam", fileBytes(whole.path("f-02.pam")));
    folder.write("f-03.pam", fileBytes(whole.path("f-03.pam")));
    chmod(folder.path("f-03.pam").c_str(), 0444);
    folder.write(".orvane-4242-0.tmp", "half a frame");
    const std::vector<std::string> kept = {"f-00.pam", "f-02.pam", "f-03.pam"};
    std::map<std::string, std::filesystem::file_time_type> keptSince;
    for (const std::string& name : kept) {
        std::filesystem::last_write_time(folder.path(name), std::filesystem::file_time_type::clock::now() -
                                                                std::chrono::hours(24 * 365));
        keptSince[name] = modified(folder.path(name));
    }

    const ToolResult resumed = runRender(ramp({"--frames", "0-5", "--skip-existing", "-o", folder.path("f-##.pam")}));
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
    EXPECT_NE(resumed.err.find("3 of 6 frames existed and were kept (--skip-existing); 3 rendered"), std::string::npos)
        << resumed.err;
    EXPECT_EQ(fileBytes(folder.path("f-00.pam")), "not the frame the effect draws");
    for (const std::string& name : kept) EXPECT_EQ(modified(folder.path(name)), keptSince[name]) << name;
    for (const char* name : {"f-01.pam", "f-02.pam", "f-03.pam", "f-04.pam", "f-05.pam"})
        EXPECT_EQ(fileBytes(folder.path(name)), fileBytes(whole.path(name))) << name;
    EXPECT_EQ(folder.files(), (std::vector<std::string>{".orvane-4242-0.tmp", "f-00.pam", "f-01.pam", "f-02.pam",
                                                        "f-03.pam", "f-04.pam", "f-05.pam"}));

    // Nothing left to do: the module is not even loaded.
    const ToolResult done = runRender(ramp({"--frames", "0-5", "--skip-existing", "--module", folder.path("absent.so"),
                                            "-o", folder.path("f-##.pam")}));
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_NE(done.err.find("6 of 6 frames exist and are kept (--skip-existing); nothing to render"), std::string::npos)
        << done.err;
}

// Machines that share a folder and each take a range of frames from a farm manager, some ranges
// overlapping: each renders only what is missing, and together they make what one run makes.
TEST(SkipExisting, RangesFromAFarmMakeTheWholeSequence) {
    ScratchFolder whole, shared;
    ASSERT_EQ(runRender(ramp({"--frames", "0-5", "-o", whole.path("f-#.png")})).exitCode, 0);
    for (const char* range : {"0-2", "2-4", "3-5"})
        ASSERT_EQ(runRender(ramp({"--frames", range, "--skip-existing", "-o", shared.path("f-#.png")})).exitCode, 0);
    EXPECT_EQ(shared.files(), whole.files());
    for (const std::string& name : whole.files()) EXPECT_EQ(fileBytes(shared.path(name)), fileBytes(whole.path(name)));
}

// One file (a name without '#') is kept when it exists. What is no frame (a folder) is refused as without
// --skip-existing, and a symbolic link to a frame not made yet counts as missing.
TEST(SkipExisting, ASingleFileAFolderAndALink) {
    ScratchFolder folder;
    folder.write("one.png", "old");
    const ToolResult single = runRender(ramp({"--skip-existing", "-o", folder.path("one.png")}));
    EXPECT_EQ(single.exitCode, 0) << single.err;
    EXPECT_NE(single.err.find("one.png exists and is kept (--skip-existing); nothing to render"), std::string::npos)
        << single.err;
    EXPECT_EQ(fileBytes(folder.path("one.png")), "old");

    std::filesystem::create_directory(folder.path("d-1.pam"));
    const ToolResult folderInTheWay = runRender(ramp({"--frames", "0-1", "--skip-existing", "-o", folder.path("d-#.pam")}));
    EXPECT_EQ(folderInTheWay.exitCode, kOutputWrite);
    EXPECT_NE(folderInTheWay.err.find("d-1.pam: it is a folder"), std::string::npos) << folderInTheWay.err;
    EXPECT_EQ(readPam(folder.path("d-0.pam")).width, 24);

    std::filesystem::create_symlink("later.pam", folder.path("link.pam"));
    ASSERT_EQ(runRender(ramp({"--skip-existing", "-o", folder.path("link.pam")})).exitCode, 0);
    EXPECT_EQ(readPam(folder.path("later.pam")).width, 24);
}

// A range of any length starts at once: its frames are taken one at a time, never listed first (two billion
// would not fit in memory), with --skip-existing too, which finds the first missing frame and starts there.
TEST(FrameRange, OfAnyLengthStartsAtOnce) {
    for (const bool skipping : {false, true}) {
        SCOPED_TRACE(skipping ? "--skip-existing" : "");
        ScratchFolder folder;
        if (skipping) folder.write("f-0000000000.pam", "kept");
        std::vector<std::string> args = {"--size", "8x8", "--fps", "120000", "--frames", "0-2039999999", "-o",
                                         folder.path("f-##########.pam")};
        if (skipping) args.push_back("--skip-existing");
        RunningTool run(args);
        const std::string firstWritten = folder.path(skipping ? "f-0000000001.pam" : "f-0000000000.pam");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (run.running() && !std::filesystem::exists(firstWritten) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        kill(run.pid(), SIGTERM);
        const ToolResult result = run.finish();
        EXPECT_EQ(result.exitCode, 128 + SIGTERM) << result.err;
        const std::string planned = skipping ? "2039999999" : "2040000000";
        EXPECT_NE(result.err.find(" of " + planned + " frames written"), std::string::npos) << result.err;
        EXPECT_EQ(readPam(firstWritten).width, 8);
        for (const std::string& name : folder.files()) EXPECT_EQ(name.rfind(".orvane-", 0), std::string::npos) << name;
    }
}

std::string dotted(A_long a, A_long b, A_long c) {
    return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c);
}

// --version: the renderer's version (the project's), then what the host shows of the module: its About
// text and the version global setup reports, all from the effect's one identity.
TEST(Version, TheRenderersAndTheModulesAsTheHostShowsThem) {
    const Orvane::PluginVersion& v = Orvane::kPluginVersion;
    const std::string release = dotted(v.major, v.minor, v.bugfix);
    const ToolResult run = runRender({"--version", "--module", ORVANE_MODULE_PATH});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("orvane-render " + release + "\n", 0), 0u) << run.out;
    char word[16];
    std::snprintf(word, sizeof(word), "0x%08X", static_cast<unsigned>(Orvane::packVersion(v)));
    for (const std::string& expected :
         {"effect module " + std::string(ORVANE_MODULE_PATH) + ":\n",
          "  " + std::string(Orvane::kEffectName) + ", v" + release + "\n",
          "  version " + std::string(word) + ": " + release + ", stage " + std::to_string(v.stage) + ", build " +
              std::to_string(v.build) + "\n"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    EXPECT_EQ(run.out.find("Windows version resource"), std::string::npos) << "this module is no Windows module";
    EXPECT_EQ(run.err, "");

    ScratchFolder folder;
    const ToolResult missing = runRender({"--version", "--module", folder.path("absent.so")});
    EXPECT_EQ(missing.exitCode, kModuleLoad);
    EXPECT_EQ(missing.out, "orvane-render " + release + "\n");
    EXPECT_NE(missing.err.find("absent.so: it does not exist"), std::string::npos) << missing.err;
}

} // namespace
