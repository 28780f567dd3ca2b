// What writing files must never do, through the binary: leave a temporary file behind when a signal stops
// it, lose a finished frame, change more of what it replaces than the content, or fail without saying why.
#include "ImageFiles.h"
#include "ScratchFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace OrvaneToolsTest;

namespace {

constexpr int kOutputWrite = 5;

bool isTemporary(const std::string& name) { return name.rfind(".orvane-", 0) == 0; }

std::vector<std::string> finishedFrames(const ScratchFolder& folder) {
    std::vector<std::string> frames = folder.files();
    frames.erase(std::remove_if(frames.begin(), frames.end(), isTemporary), frames.end());
    return frames;
}

// Waits until a frame is being written while at least one is finished, and holds the renderer there.
bool pauseWhileWritingALaterFrame(RunningTool& run, const ScratchFolder& folder) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (run.running() && std::chrono::steady_clock::now() < deadline) {
        const std::vector<std::string> files = folder.files();
        const bool writing = std::any_of(files.begin(), files.end(), isTemporary);
        if (!writing || finishedFrames(folder).empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if (!run.pause()) return false;
        // The write may have ended between the look and the pause.
        const std::vector<std::string> now = folder.files();
        if (std::any_of(now.begin(), now.end(), isTemporary)) return true;
        run.resume();
    }
    return false;
}

// Waits until a frame is finished.
bool waitForAFinishedFrame(RunningTool& run, const ScratchFolder& folder) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (run.running() && std::chrono::steady_clock::now() < deadline) {
        if (!finishedFrames(folder).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// How a signal meets the renderer.
struct SignalCase {
    const char* name;
    int signal;
    bool ignoredByTheCaller; // ignored when orvane-render starts: SIGHUP under nohup, SIGINT in a script's background job
    bool stoppedTerminal;    // standard error is a terminal whose output is stopped: the report of the stop cannot get out
};

void PrintTo(const SignalCase& c, std::ostream* out) { *out << c.name; }

class Signals : public ::testing::TestWithParam<SignalCase> {};

TEST_P(Signals, StopCleanlyUnlessTheCallerIgnoredThem) {
    const SignalCase& c = GetParam();
    ScratchFolder folder;
    RunOptions options;
    if (c.ignoredByTheCaller) options.ignoredSignals = {c.signal};
    options.terminal = options.terminalStopped = c.stoppedTerminal;
    options.timeoutSeconds = 60; // then the process is taken not to end by itself
    RunningTool run({"--size", "1024x1024", "--depth", "16", "--frames", "0-9", "-o", folder.path("f-#.png")}, options);
    // On a stopped terminal the renderer waits to show its progress once the first frame is written.
    if (c.stoppedTerminal)
        ASSERT_TRUE(waitForAFinishedFrame(run, folder)) << "no frame was written";
    else
        ASSERT_TRUE(pauseWhileWritingALaterFrame(run, folder)) << "the renderer ended before it could be caught writing";
    const std::size_t finishedBefore = finishedFrames(folder).size();
    kill(run.pid(), c.signal);
    run.resume();
    const ToolResult result = run.finish();

    EXPECT_FALSE(result.timedOut) << "the process did not end";
    EXPECT_EQ(result.signal, 0);
    const std::vector<std::string> frames = finishedFrames(folder);
    EXPECT_EQ(frames, folder.files()) << "a temporary file was left behind";
    EXPECT_GE(frames.size(), finishedBefore);
    for (const std::string& frame : frames) EXPECT_EQ(readPng(folder.path(frame)).width, 1024) << frame;
    if (c.ignoredByTheCaller) {
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(frames.size(), 10u);
        EXPECT_EQ(result.err.find("stopped by"), std::string::npos) << result.err;
        return;
    }
    EXPECT_EQ(result.exitCode, 128 + c.signal) << result.err;
    if (c.stoppedTerminal) return; // nothing the renderer writes gets out
    const char* name = c.signal == SIGINT ? "SIGINT" : c.signal == SIGTERM ? "SIGTERM" : "SIGHUP";
    EXPECT_NE(result.err.find(std::string("orvane-render: stopped by ") + name + "; " + std::to_string(frames.size()) +
                              " of 10 frames written"),
              std::string::npos)
        << result.err;
}

INSTANTIATE_TEST_SUITE_P(Cases, Signals,
                         ::testing::Values(SignalCase{"Sigint", SIGINT, false, false},
                                           SignalCase{"Sigterm", SIGTERM, false, false},
                                           SignalCase{"Sighup", SIGHUP, false, false},
                                           SignalCase{"SighupUnderNohup", SIGHUP, true, false},
                                           SignalCase{"SigintInABackgroundJob", SIGINT, true, false},
                                           SignalCase{"SigtermWhileTheTerminalIsStopped", SIGTERM, false, true}),
                         [](const ::testing::TestParamInfo<SignalCase>& info) { return std::string(info.param.name); });

std::vector<std::string> withOutput(std::vector<std::string> args, std::initializer_list<std::string> more) {
    args.insert(args.end(), more);
    return args;
}

// Stopped at moments drawn at random while frames render and several are written at once: every file
// there is a whole frame, byte for byte what a whole run writes, whatever order the frames finished in; no
// temporary file is left; the report counts the files; and resuming makes the whole sequence.
TEST(StoppedAtAnyMoment, LeavesWholeFramesOnlyAndResumesToTheWholeSequence) {
    const std::vector<std::string> sequence = {"--size", "480x270", "--depth", "16", "--color", "0:#203060",
                                               "--color", "3:#f0c040", "--fps", "4", "--frames", "0-11"};
    ScratchFolder whole;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(runRender(withOutput(sequence, {"-o", whole.path("f-##.png")})).exitCode, 0);
    const auto duration = std::chrono::steady_clock::now() - start;
    std::mt19937 moments(20261209);
    for (int round = 0; round < 6; ++round) {
        ScratchFolder folder;
        RunningTool run(withOutput(sequence, {"-o", folder.path("f-##.png")}));
        std::this_thread::sleep_for(std::chrono::duration_cast<std::chrono::microseconds>(duration) *
                                    std::uniform_real_distribution<double>(0.0, 1.0)(moments));
        kill(run.pid(), SIGTERM);
        const ToolResult result = run.finish();
        const std::vector<std::string> frames = finishedFrames(folder);
        SCOPED_TRACE("round " + std::to_string(round) + ": " + std::to_string(frames.size()) + " frames\n" + result.err);
        EXPECT_EQ(frames, folder.files()) << "a temporary file was left behind";
        for (const std::string& frame : frames)
            EXPECT_EQ(fileBytes(folder.path(frame)), fileBytes(whole.path(frame))) << frame;
        if (result.exitCode == 128 + SIGTERM)
            EXPECT_NE(result.err.find("stopped by SIGTERM; " + std::to_string(frames.size()) + " of 12 frames written"),
                      std::string::npos);
        else if (result.signal == SIGTERM) // stopped before it could take the signal over
            EXPECT_TRUE(frames.empty());
        else
            EXPECT_EQ(result.exitCode, 0);

        ASSERT_EQ(runRender(withOutput(sequence, {"--skip-existing", "-o", folder.path("f-##.png")})).exitCode, 0);
        ASSERT_EQ(folder.files(), whole.files());
        for (const std::string& frame : whole.files())
            EXPECT_EQ(fileBytes(folder.path(frame)), fileBytes(whole.path(frame))) << frame;
    }
}

// Each flush to the disk and rename, as the recorder put before the system's library saw them; with
// `failing`, every flush of a file fails.
struct RecordedRun {
    ScratchFolder logFolder;
    RunOptions options;
    explicit RecordedRun(bool failing) {
        const char* sanitizer = std::getenv("ASAN_OPTIONS");
        // AddressSanitizer wants its own library first; the recorder goes before it.
        options.environment = {{"LD_PRELOAD", ORVANE_DISK_FLUSH_RECORDER_PATH},
                               {"ORVANE_FLUSH_LOG", logFolder.path("log")},
                               {"ASAN_OPTIONS", std::string(sanitizer ? sanitizer : "") + ":verify_asan_link_order=0"}};
        if (failing) options.environment.emplace_back("ORVANE_FLUSH_FAILS", "1");
    }
    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        std::ifstream file(logFolder.path("log"));
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }
};

std::size_t indexOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

// A frame's name means a whole frame after a power cut too: its file reaches the disk before the rename
// that gives it its name, and the folder holding that name after.
TEST(DurableFrames, EachFileReachesTheDiskBeforeItsNameAndItsFolderAfter) {
    ScratchFolder folder;
    RecordedRun recorded(false);
    const ToolResult run = runRender({"--size", "64x32", "--frames", "0-3", "-o", folder.path("f-#.png")},
                                     recorded.options);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> log = recorded.log();
    std::string folderName = folder.path("");
    folderName.pop_back(); // the trailing '/'
    std::string text;
    for (const std::string& line : log) text += line + "\n";
    for (const std::string frame : {"f-0.png", "f-1.png", "f-2.png", "f-3.png"}) {
        const auto renamed = std::find_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.rfind("rename ", 0) == 0 && line.size() > frame.size() &&
                   line.compare(line.size() - frame.size() - 1, std::string::npos, "/" + frame) == 0;
        });
        ASSERT_NE(renamed, log.end()) << frame << "\n" << text;
        const std::string temporary = renamed->substr(7, renamed->size() - 7 - folder.path(frame).size() - 1);
        EXPECT_EQ(*renamed, "rename " + temporary + " " + folder.path(frame));
        EXPECT_NE(temporary.find("/.orvane-"), std::string::npos) << temporary;
        const std::size_t at = static_cast<std::size_t>(renamed - log.begin());
        EXPECT_LT(indexOf(log, "flush file " + temporary), at) << frame << "\n" << text;
        const auto folderFlush = std::find(renamed, log.end(), "flush folder " + folderName);
        EXPECT_NE(folderFlush, log.end()) << frame << "\n" << text;
    }
}

// A file that cannot reach the disk is no frame: the old file stays, no temporary one is left, and the
// run ends with the write failure and the system's reason.
TEST(DurableFrames, AFileThatCannotReachTheDiskReplacesNothing) {
    ScratchFolder folder;
    folder.write("a.png", "old");
    RecordedRun recorded(true);
    const ToolResult run = runRender({"--size", "64x32", "-o", folder.path("a.png")}, recorded.options);
    EXPECT_EQ(run.exitCode, kOutputWrite) << run.err;
    EXPECT_NE(run.err.find("cannot write " + folder.path("a.png") + ": Input/output error"), std::string::npos)
        << run.err;
    EXPECT_EQ(fileBytes(folder.path("a.png")), "old");
    EXPECT_EQ(folder.files(), std::vector<std::string>{"a.png"});
}

// The temporary name is short and of its own, so any name the file system takes can be written.
TEST(Writing, TheLongestFileNameTheFileSystemTakes) {
    ScratchFolder folder;
    const std::string name = std::string(251, 'n') + ".png";
    const ToolResult run = runRender({"--size", "4x4", "-o", folder.path(name)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(folder.files(), std::vector<std::string>{name});
}

TEST(Writing, AReadOnlyFileIsReplacedOnlyWithForce) {
    ScratchFolder folder;
    folder.write("locked.png", "old");
    chmod(folder.path("locked.png").c_str(), 0444);
    const ToolResult refused = runRender({"--size", "4x4", "-o", folder.path("locked.png")});
    EXPECT_EQ(refused.exitCode, kOutputWrite);
    EXPECT_NE(refused.err.find("locked.png: it is read-only (give --force to replace it)"), std::string::npos)
        << refused.err;
    EXPECT_EQ(fileBytes(folder.path("locked.png")), "old");
    const ToolResult forced = runRender({"--size", "4x4", "--force", "-o", folder.path("locked.png")});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(readPng(folder.path("locked.png")).width, 4);
    struct stat st {};
    stat(folder.path("locked.png").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(folder.files(), std::vector<std::string>{"locked.png"});
}

// Who may replace what in a shared folder, as a farm's or /tmp is. frame.png (permissions rw-r--r--) is
// written directly or through a symbolic link e.png -> frame.png; the folder's permissions and owner, the
// file's and the link's owner and the user who renders make a case.
constexpr int kRoot = 0;
constexpr int kOtherUser = 65534; // "nobody"
constexpr int kNoLink = -1;

struct ReplaceCase {
    const char* name;
    mode_t folderMode; // 0777 shared, 01777 shared and sticky (as /tmp)
    int folderOwner;
    int fileOwner;
    int linkOwner;     // kNoLink: -o names frame.png itself
    int renderer;      // the user who runs orvane-render
    bool force;
    const char* refusal; // the message of a refusal (exit code 5); "" when frame.png is replaced
};

void PrintTo(const ReplaceCase& c, std::ostream* out) { *out << c.name; }

class Replacing : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(Replacing, OnlyWhatTheUserMayWriteAndThroughLinksTheSystemWouldFollow) {
    const ReplaceCase& c = GetParam();
    RunOptions as;
    as.user = kOtherUser;
    if (const std::string why = whyCannotRun(as); !why.empty()) GTEST_SKIP() << why;
    ScratchFolder folder;
    ASSERT_EQ(chmod(folder.path("").c_str(), 0711), 0); // the other user passes through to the shared folder
    const std::string shared = folder.path("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(chown(shared.c_str(), uid_t(c.folderOwner), gid_t(c.folderOwner)), 0);
    ASSERT_EQ(chmod(shared.c_str(), c.folderMode), 0);
    const std::string frame = shared + "/frame.png";
    folder.write("shared/frame.png", "old");
    ASSERT_EQ(chown(frame.c_str(), uid_t(c.fileOwner), gid_t(c.fileOwner)), 0);
    ASSERT_EQ(chmod(frame.c_str(), 0644), 0);
    std::string output = frame;
    if (c.linkOwner != kNoLink) {
        output = shared + "/e.png";
        ASSERT_EQ(symlink("frame.png", output.c_str()), 0);
        ASSERT_EQ(lchown(output.c_str(), uid_t(c.linkOwner), gid_t(c.linkOwner)), 0);
    }
    as.user = c.renderer == kRoot ? -1 : c.renderer;
    std::vector<std::string> args = {"--size", "4x4", "-o", output};
    if (c.force) args.push_back("--force");
    const ToolResult run = runRender(args, as);

    if (*c.refusal) {
        EXPECT_EQ(run.exitCode, kOutputWrite) << run.err;
        EXPECT_NE(run.err.find(c.refusal), std::string::npos) << run.err;
        EXPECT_EQ(fileBytes(frame), "old");
    } else {
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(readPng(frame).width, 4);
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(shared)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected =
        c.linkOwner == kNoLink ? std::vector<std::string>{"frame.png"} : std::vector<std::string>{"e.png", "frame.png"};
    EXPECT_EQ(names, expected) << "a temporary file was left behind, or the link replaced";
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(output)) == (c.linkOwner != kNoLink));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Replacing,
    ::testing::Values(
        ReplaceCase{"AnotherUsersFile", 0777, kRoot, kRoot, kNoLink, kOtherUser, false,
                    "frame.png: it is read-only for this user (it belongs to user 0, permissions rw-r--r--) (give "
                    "--force to replace it)"},
        ReplaceCase{"AnotherUsersFileWithForce", 0777, kRoot, kRoot, kNoLink, kOtherUser, true, ""},
        ReplaceCase{"TheUsersOwnFile", 0777, kRoot, kOtherUser, kNoLink, kOtherUser, false, ""},
        ReplaceCase{"AnotherUsersLinkInAStickyFolder", 01777, kRoot, kRoot, kOtherUser, kRoot, false,
                    "e.png belongs to user 65534, neither this user nor the owner of"},
        ReplaceCase{"AnotherUsersLinkInAStickyFolderWithForce", 01777, kRoot, kRoot, kOtherUser, kRoot, true,
                    "such a link is not followed"},
        ReplaceCase{"TheUsersOwnLinkInAStickyFolder", 01777, kRoot, kRoot, kRoot, kRoot, false, ""},
        ReplaceCase{"TheFolderOwnersLinkInAStickyFolder", 01777, kOtherUser, kRoot, kOtherUser, kRoot, false, ""},
        ReplaceCase{"AnotherUsersLinkInAFolderThatIsNotSticky", 0777, kRoot, kRoot, kOtherUser, kRoot, false, ""}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

// A write that fails says which file and why, in the user's words, and leaves the file as it was: here the
// process may write no file larger than 200 bytes.
class WriteFailure : public ::testing::TestWithParam<const char*> {};

TEST_P(WriteFailure, NamesTheFileAndTheReasonAndLeavesTheOldFile) {
    ScratchFolder folder;
    const std::string name = std::string("out.") + GetParam();
    folder.write(name, "old");
    RunOptions limited;
    limited.fileSizeLimit = 200;
    const ToolResult run = runRender({"--size", "256x256", "--depth", "16", "-o", folder.path(name)}, limited);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, kOutputWrite) << run.err;
    EXPECT_NE(run.err.find("orvane-render: cannot write " + folder.path(name) + ": File too large"), std::string::npos)
        << run.err;
    EXPECT_EQ(fileBytes(folder.path(name)), "old");
    EXPECT_EQ(folder.files(), std::vector<std::string>{name});
}

INSTANTIATE_TEST_SUITE_P(Formats, WriteFailure, ::testing::Values("png", "exr", "pam"));

} // namespace
