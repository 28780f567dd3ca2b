// Bad input of every kind through the binary: each names what is wrong in the user's words, exits with its
// code (the one table of them in --help, docs/exit-codes.md and the README), and leaves no output file (nor a
// temporary one) behind.
#include "ImageFiles.h"
#include "ScratchFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include <sys/stat.h>
#include <unistd.h>

using namespace OrvaneToolsTest;

namespace {

constexpr int kUsage = 2, kModuleLoad = 3, kEffectError = 4, kOutputWrite = 5, kStandardOutput = 6, kOutOfMemory = 7;

struct BadRun {
    std::vector<std::string> args;
    int exitCode;
    std::string message;
};

bool holdsControlCharacters(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) < 0x20 && text[i] != '\n') return true;
    return false;
}

// Arguments starting with "@" name files in the folder. Checks the outcome and that the folder holds what
// it held before.
void expectRefused(const ScratchFolder& folder, const BadRun& bad, const std::vector<std::string>& filesBefore,
                   const RunOptions& options = {}) {
    std::vector<std::string> args = bad.args;
    for (auto& a : args)
        if (a.rfind("@", 0) == 0) a = folder.path(a.substr(1));
    const ToolResult run = runRender(args, options);
    EXPECT_EQ(run.exitCode, bad.exitCode) << bad.message << "\n" << run.err;
    EXPECT_NE(run.err.find(bad.message), std::string::npos) << "expected \"" << bad.message << "\" in:\n" << run.err;
    EXPECT_EQ(run.err.rfind("orvane-render", 0), 0u) << run.err;
    EXPECT_FALSE(holdsControlCharacters(run.err)) << run.err;
    EXPECT_EQ(folder.files(), filesBefore) << bad.message;
}

TEST(BadInput, FlagsAndValues) {
    ScratchFolder folder;
    std::string longPath; // of folders that need not exist: the name alone is too long
    for (int i = 0; i < 2100; ++i) longPath += "d/";
    const std::vector<BadRun> cases = {
        {{"--bogus", "-o", "@a.png"}, kUsage, "--bogus"},
        {{"--size", "0x4", "-o", "@a.png"}, kUsage, "--size: expected WxH"},
        {{"--size", "640", "-o", "@a.png"}, kUsage, "got '640'"},
        {{"--size", "65536x4", "-o", "@a.png"}, kUsage,
         "--size: expected WxH, two whole numbers from 1 to 32767 (a point, held in 16.16 fixed point, reaches at "
         "most 32767 pixels), got '65536x4'"},
        {{"--depth", "12", "-o", "@a.png"}, kUsage, "--depth: expected 8, 16 or 32, got '12'"},
        {{"--downsample", "0", "-o", "@a.png"}, kUsage, "--downsample"},
        {{"--shape", "conic", "-o", "@a.png"}, kUsage, "--shape: expected linear or radial"},
        {{"--repeat", "mirror", "-o", "@a.png"}, kUsage, "--repeat"},
        {{"--point1", "1;2", "-o", "@a.png"}, kUsage, "--point1"},
        {{"--point1", "32768,0", "-o", "@a.png"}, kUsage, "--point1: expected X,Y in layer pixels from -32767 to 32767"},
        {{"--point1", "32768,0", "-o", "@a.png"}, kUsage, "got '32768,0'"},
        {{"--color", "#ggg000", "-o", "@a.png"}, kUsage, "--color: expected #RRGGBB"},
        {{"--color", "#ff0000", "--color", "1:#00ff00", "-o", "@a.png"}, kUsage, "one plain colour"},
        {{"--opacity", "300", "-o", "@a.png"}, kUsage, "-100 to 200"},
        {{"--opacity", "200.0001", "-o", "@a.png"}, kUsage, "got '200.0001'"},
        {{"--time", "-1", "-o", "@a.png"}, kUsage, "--time: expected a time from 0 to 17000 seconds, got '-1'"},
        {{"--fps", "0", "-o", "@a.png"}, kUsage, "--fps: expected frames per second from 0.001 to 120000, got '0'"},
        {{"--frames", "5-2", "-o", "@a#.png"}, kUsage, "--frames"},
        {{"--threads", "0", "-o", "@a.png"}, kUsage, "--threads"},
        {{"--time", "1", "--frames", "0-1", "-o", "@a#.png"}, kUsage, "exclude each other"},
        {{"--frames", "0-1", "-o", "@a.png"}, kUsage, "run of '#'"},
        {{"--opacity", "1:10", "--opacity", "1.000001:20", "-o", "@a.png"}, kUsage,
         "--opacity: the keyframes '1:10' and '1.000001:20' both fall on time unit 120000 at 120000 units per "
         "second; keyframes must lie at least one unit apart (--time-scale sets the units)"},
        {{"--time-scale", "24", "--color", "0:#000000", "--color", "0.01:#ffffff", "-o", "@a.png"}, kUsage,
         "--color: the keyframes '0:#000000' and '0.01:#ffffff' both fall on time unit 0 at 24 units per second"},
        {{"-o", "@" + std::string(300, 'n') + ".png"}, kUsage,
         "the file name is 304 bytes long, more than a file system takes (255)"},
        {{"-o", "@" + std::string(300, 'd') + "/a.png"}, kUsage,
         "a folder name in it is 300 bytes long, more than a file system takes (255)"},
        {{"-o", "@" + longPath + "a.png"}, kUsage, "bytes long, more than the system takes in a path (4095)"},
        {{"--size", "4x4"}, kUsage, "no output file"},
        {{"-o", "@a.tif"}, kUsage, "must end in .png, .exr, .pam or .pfm"},
        {{"--depth", "32", "-o", "@a.pam"}, kUsage, "PAM holds depth 8 or 16, not 32: use --depth 8 or 16, or .png"},
        {{"-o", "-"}, kUsage, "--output -: give --format png, pam or pfm"},
        {{"--format", "tiff", "-o", "-"}, kUsage, "--format: expected png, exr, pam or pfm, got 'tiff'"},
        {{"--format", "exr", "-o", "-"}, kUsage, "--format exr: EXR cannot be written to standard output"},
        {{"--format", "png", "-o", "@a.pam"}, kUsage, "--format png and --output "},
        {{"--skip-existing", "--format", "pam", "-o", "-"}, kUsage, "--skip-existing keeps the frames whose files"},
        {{"--skip-existing", "--force", "-o", "@a.png"}, kUsage, "--skip-existing and --force exclude each other"},
        {{"-o", "@missing/a.png"}, kUsage, "does not exist"},
        {{"--module", "", "-o", "@a.png"}, kUsage, "--module: the file name is empty"},
        {{"--max-memory", "lots", "-o", "@a.png"}, kUsage, "--max-memory: expected an amount of memory"},
        {{"--exr-compression", "lzw", "-o", "@a.exr"}, kUsage,
         "--exr-compression: expected none, rle, zips, zip, piz, pxr24, b44, b44a, dwaa or dwab, got 'lzw'"},
        {{"--png-compression", "best", "-o", "@a.png"}, kUsage,
         "--png-compression: expected fast, default or small, got 'best'"},
        {{"--half", "-o", "@a.png"}, kUsage, "--half is for EXR output, not for PNG"},
        {{"--exr-compression", "piz", "-o", "@a.pfm"}, kUsage, "--exr-compression is for EXR output, not for PFM"},
        {{"inspect"}, kUsage, "MODULE"},
    };
    for (const BadRun& bad : cases) expectRefused(folder, bad, {});
}

// Runs that succeed say nothing unless something given is not used, and say that once: values as the help
// describes them (numbers with exponents, a file named "-" written as ./-) and a colour's unused alpha.
TEST(Messages, RunsThatSucceedSayOnceWhatIsNotUsed) {
    struct GoodRun {
        std::vector<std::string> args;
        std::string said; // all of standard error
        std::vector<std::string> files;
    };
    for (const GoodRun& good : std::vector<GoodRun>{
             {{"--threads", "1e1", "--time-scale", "1e3", "--max-memory", "1e9", "--size", "4x4", "-o", "a.pam"}, "",
              {"a.pam"}},
             {{"--size", "4x4", "--format", "pam", "-o", "./-"}, "", {"-"}},
             {{"--size", "4x4", "--color", "0:#ff000080", "--color", "1:#00ff00", "--color", "2:#0000ff00", "-o",
               "c.pam"},
              "orvane-render: --color '0:#ff000080' (and 1 more): a colour's alpha is not used; the effect takes the "
              "ramp's alpha from --opacity\n",
              {"c.pam"}},
             {{"--size", "4x4", "--color", "#102030ff", "-o", "d.pam"}, "", {"d.pam"}},
         }) {
        ScratchFolder folder;
        RunOptions inFolder;
        inFolder.workingFolder = folder.path("");
        const ToolResult run = runRender(good.args, inFolder);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, good.said);
        EXPECT_EQ(folder.files(), good.files);
        for (const std::string& file : good.files) EXPECT_EQ(fileBytes(folder.path(file)).substr(0, 3), "P7\n") << file;
    }
}

// A frame is refused with the estimate of its memory before anything is loaded or made: one that needs
// more than --max-memory (or the machine) has, and one whose buffers the host cannot make at all. The
// estimate: three frames of 8,294,400 bytes, the PNG writer's 8 rows of 15,360 bytes and a mebibyte, and a
// margin of 32 MiB, 59,609,088 bytes.
TEST(BadInput, FramesTooLargeForTheMemory) {
    ScratchFolder folder;
    expectRefused(folder,
                  {{"--size", "1920x1080", "--max-memory", "16M", "-o", "@a.png"}, kUsage,
                   "a frame of 1920x1080 at depth 8 needs about 56.8 MiB of memory, more than --max-memory (16.0 MiB)"},
                  {});
    expectRefused(folder,
                  {{"--size", "32767x32767", "--depth", "32", "-o", "@a.pfm"}, kUsage,
                   "--size: the host cannot make buffers for a frame of 32767x32767 at depth 32 (16.0 GiB each)"},
                  {});
    EXPECT_EQ(runRender({"--size", "1920x1080", "--max-memory", "64M", "-o", folder.path("a.png")}).exitCode, 0);
}

// Names the user gave reach the terminal with their control characters escaped.
TEST(BadInput, ControlCharactersAreShownEscaped) {
    ScratchFolder folder;
    expectRefused(folder, {{"--shape", "\x1b[31mred\x07", "-o", "@a.png"}, kUsage, "got '\\x1B[31mred\\x07'"}, {});
    expectRefused(folder, {{"-o", "@\x1b]0;title\x07.tif"}, kUsage, "\\x1B]0;title\\x07.tif"}, {});
}

TEST(BadInput, SceneFiles) {
    ScratchFolder folder;
    folder.write("notes.txt", "my notes");
    folder.write("broken.json", "{\"size\": ");
    folder.write("typo.json", "{\"colour\": \"#ff0000\"}");
    folder.write("value.json", "{\"repeat\": \"sideways\"}");
    folder.write("huge-number.json", "{\"fps\": 1e400}");
    folder.write("twice.json", "{\"fps\": 24, \"fps\": 25}");
    folder.write("module.json", "{\"module\": \"/usr/lib/x86_64-linux-gnu/libm.so.6\"}");
    folder.write("nul.json", "{\"output\": \"" + folder.path("notes.txt") + "\\u0000.png\", \"size\": \"8x8\"}");
    folder.write("opacity.json", "{\"opacity\": [50, 60]}");
    // 300,000 arrays one in another: 600 KB that once crashed the renderer while it printed the value.
    folder.write("deep.json", "{\"size\": " + std::string(300000, '[') + std::string(300000, ']') + "}");
    folder.write("tiny.json", "{\"time\": 1e-400}");
    ASSERT_EQ(mkfifo(folder.path("fifo.json").c_str(), 0644), 0);
    // A sparse file one byte over the limit of 64 MiB takes no room on the disk.
    { std::ofstream(folder.path("large.json")); }
    std::filesystem::resize_file(folder.path("large.json"), (64u << 20) + 1);
    const std::vector<std::string> files = folder.files();

    const std::vector<BadRun> cases = {
        {{"--scene", "@absent.json"}, kUsage, "absent.json: does not exist"},
        {{"--scene", "@broken.json"}, kUsage, "broken.json: not valid JSON: parse error at line 1, column 10"},
        {{"--scene", "@typo.json"}, kUsage, "unknown setting \"colour\""},
        {{"--scene", "@value.json"}, kUsage, "\"repeat\": expected none, loop or pingpong, got 'sideways'"},
        {{"--scene", "@huge-number.json"}, kUsage, "huge-number.json: a number is too large"},
        {{"--scene", "@twice.json"}, kUsage, "twice.json: the key \"fps\" is given twice"},
        {{"--scene", "@module.json"}, kUsage, "\"module\": a scene cannot name the effect module"},
        {{"--scene", "@nul.json"}, kUsage, "\"output\": a file name cannot hold a NUL character, got '"},
        {{"--scene", "@nul.json"}, kUsage, "notes.txt\\x00.png'"},
        {{"--scene", "@opacity.json", "-o", "@a.png"}, kUsage, "opacity.json: \"opacity\": give one plain opacity"},
        {{"--scene", "@deep.json", "-o", "@a.png"}, kUsage,
         "deep.json: \"size\": values are nested more than 32 deep: [[[[[[[[[[[[[[[["},
        {{"--scene", "@tiny.json", "-o", "@a.png"}, kUsage,
         "tiny.json: \"time\": the number 1e-400 is too small to hold (it would be read as 0)"},
        {{"--scene", "@fifo.json", "-o", "@a.png"}, kUsage, "fifo.json: is not a regular file"},
        {{"--scene", "/dev/zero", "-o", "@a.png"}, kUsage, "/dev/zero: is not a regular file"},
        {{"--scene", "@large.json", "-o", "@a.png"}, kUsage, "large.json: is larger than 64 MiB"},
        {{"--scene", "@", "-o", "@a.png"}, kUsage, "is a folder, not a file"},
    };
    RunOptions quick;
    quick.timeoutSeconds = 30; // reading a pipe or a device would never end
    for (const BadRun& bad : cases) expectRefused(folder, bad, files, quick);
    EXPECT_EQ(fileBytes(folder.path("notes.txt")), "my notes");
}

// Copies of the real module, damaged.
struct DamagedModules : ::testing::Test {
    ScratchFolder folder;
    const std::string module = fileBytes(ORVANE_MODULE_PATH);
    std::string copy(const std::string& name, std::string bytes) {
        folder.write(name, bytes);
        return folder.path(name);
    }
};

// The system's loader maps a module's segments straight from its file and faulted on a truncated one; every
// such module is refused before it is loaded, with exit code 3 and the reason.
TEST_F(DamagedModules, AreRefusedBeforeLoading) {
    for (const std::size_t size : {std::size_t(64), std::size_t(1024), std::size_t(4096), std::size_t(16384),
                                   std::size_t(65536), module.size() / 2, module.size() - 1}) {
        const std::string path = copy("cut.so", module.substr(0, size));
        const ToolResult run = runRender({"--module", path, "--size", "4x4", "-o", folder.path("a.png")});
        EXPECT_EQ(run.exitCode, kModuleLoad) << size << " bytes: " << run.err;
        EXPECT_NE(run.err.find("cannot load module " + path + ": it is truncated or damaged: "), std::string::npos)
            << size << " bytes: " << run.err;
    }
    std::string thirtyTwoBit = module, otherProcessor = module;
    thirtyTwoBit[4] = 1;       // EI_CLASS: ELFCLASS32
    otherProcessor[18] = '\xB7'; // e_machine: AArch64
    const std::vector<std::pair<std::string, std::string>> foreign = {
        {copy("32.so", thirtyTwoBit), "it is a 32-bit module; this host loads 64-bit modules"},
        {copy("arm.so", otherProcessor), "it is built for another processor (machine 183)"},
        {copy("windows.so", "MZ" + std::string(200, '\0')), "it is a Windows module, not one for this system"},
        {copy("text.so", "plain text, long enough to be read as a header of a module file........"),
         "it is not a module for this system"},
        {copy("tiny.so", "\x7f" "ELF"), "it is 4 bytes, too short for a module"},
    };
    for (const auto& [path, reason] : foreign) {
        const ToolResult run = runRender({"--module", path, "--size", "4x4", "-o", folder.path("a.png")});
        EXPECT_EQ(run.exitCode, kModuleLoad) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path("a.png")));
}

TEST(Modules, WhatIsNotAModuleFileIsNotLoaded) {
    ScratchFolder folder;
    ASSERT_EQ(mkfifo(folder.path("fifo.so").c_str(), 0644), 0);
    RunOptions quick;
    quick.timeoutSeconds = 30;
    for (const BadRun& bad : std::vector<BadRun>{
             {{"--module", "@absent.so", "-o", "@a.png"}, kModuleLoad, "absent.so: it does not exist"},
             {{"--module", "@fifo.so", "-o", "@a.png"}, kModuleLoad, "fifo.so: it is not a regular file"},
             {{"--module", "@", "-o", "@a.png"}, kModuleLoad, "it is a folder, not a file"},
             // A name without a folder is a file in the current folder, not a library of the system.
             {{"--module", "libm.so.6", "-o", "@a.png"}, kModuleLoad, "cannot load module libm.so.6: it does not exist"},
             {{"inspect", "@fifo.so"}, kModuleLoad, "fifo.so is not a regular file"},
             {{"inspect", "/dev/zero"}, kModuleLoad, "/dev/zero is not a regular file"},
             {{"inspect", "@"}, kModuleLoad, "is a folder, not a file"},
         })
        expectRefused(folder, bad, {"fifo.so"}, quick);
}

// A module is a file path, always: a name without a folder is the file in the current folder, given on the
// command line or in ORVANE_MODULE.
TEST(Modules, ANameWithoutAFolderIsAFileInTheCurrentFolder) {
    ScratchFolder folder;
    folder.write("effect.so", fileBytes(ORVANE_MODULE_PATH));
    RunOptions inFolder;
    inFolder.workingFolder = folder.path("");
    const ToolResult named = runRender({"--module", "effect.so", "--size", "4x4", "-o", "a.pam"}, inFolder);
    EXPECT_EQ(named.exitCode, 0) << named.err;
    inFolder.environment = {{"ORVANE_MODULE", "effect.so"}};
    const ToolResult fromEnvironment = runRender({"--size", "4x4", "-o", "b.pam"}, inFolder);
    EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
    inFolder.environment = {{"ORVANE_MODULE", "absent.so"}};
    const ToolResult missing = runRender({"--size", "4x4", "-o", "c.pam"}, inFolder);
    EXPECT_EQ(missing.exitCode, kModuleLoad);
    EXPECT_NE(missing.err.find("cannot load module absent.so: it does not exist"), std::string::npos) << missing.err;
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"a.pam", "b.pam", "effect.so"}));
}

// A module that exports the entry point but registers another effect is refused before anything is set or
// rendered, with what differed from this effect.
TEST(Modules, AModuleOfAnotherEffectIsRefused) {
    ScratchFolder folder;
    for (const BadRun& bad : std::vector<BadRun>{
             {{"--module", ORVANE_FEWER_PARAMETERS_MODULE_PATH, "-o", "@a.png"}, kModuleLoad,
              "is not this effect: it registers 4 parameters (the input layer and 3 controls), this effect 9 "
              "parameters (the input layer and 8 controls); parameter 1 (\"Mode\") offers \"Soft|Hard\", in this "
              "effect \"Linear|Radial\"; parameter 2 (\"Amount\") is a float slider, in this effect a point"},
             {{"--module", ORVANE_OTHER_KIND_MODULE_PATH, "--shape", "radial", "-o", "@a.png"}, kModuleLoad,
              "is not this effect: parameter 2 (\"Angle\") is a float slider, in this effect a point"},
             {{"--module", ORVANE_OTHER_CHOICES_MODULE_PATH, "-o", "@a.png"}, kModuleLoad,
              "is not this effect: parameter 1 (\"Shape\") offers \"Linear|Radial|Conic\", in this effect "
              "\"Linear|Radial\""},
         })
        expectRefused(folder, bad, {});
}

// Where orvane-render cannot find its own folder (here /proc is hidden), it asks for the module rather
// than look for one elsewhere: an effect module in the current folder is not loaded.
TEST(Modules, WithoutItsOwnFolderTheModuleMustBeNamed) {
    RunOptions withoutProc;
    withoutProc.hideProc = true;
    if (const std::string why = whyCannotRun(withoutProc); !why.empty()) GTEST_SKIP() << why;
    ScratchFolder folder;
    folder.write("OrvaneVelmorathquist.so", fileBytes(ORVANE_MODULE_PATH));
    withoutProc.workingFolder = folder.path("");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--size", "4x4", "-o", "a.pam"}, std::vector<std::string>{"--version"}}) {
        const ToolResult run = runRender(args, withoutProc);
        EXPECT_EQ(run.exitCode, kModuleLoad) << run.err;
        EXPECT_NE(run.err.find("orvane-render cannot find its own folder, where the effect module is by default, "
                               "and loads none from anywhere else: give --module PATH or set ORVANE_MODULE"),
                  std::string::npos)
            << run.err;
    }
    EXPECT_EQ(folder.files(), std::vector<std::string>{"OrvaneVelmorathquist.so"});
    const ToolResult named = runRender({"--module", ORVANE_MODULE_PATH, "--size", "4x4", "-o", "a.pam"}, withoutProc);
    EXPECT_EQ(named.exitCode, 0) << named.err;
}

// An effect's error is named with the host's name and the effect's message; memory that runs out is one exit
// code, wherever it runs out.
TEST(EffectErrors, NamedWithTheEffectsMessageAndOutOfMemoryWithItsOwnCode) {
    ScratchFolder folder;
    for (const BadRun& bad : std::vector<BadRun>{
             {{"--module", ORVANE_REFUSING_MODULE_PATH, "-o", "@a.png"}, kEffectError,
              "returned PF_Err_BAD_CALLBACK_PARAM (516); the effect says: parameters are not available today"},
             {{"--module", ORVANE_OUT_OF_MEMORY_MODULE_PATH, "-o", "@a.png"}, kOutOfMemory,
              "returned PF_Err_OUT_OF_MEMORY (4)"},
         })
        expectRefused(folder, bad, {});
}

// Memory that runs out in the middle of a sequence, wherever it runs out: the preloaded allocator fails one
// allocation, in turn each of those made while the second frame is rendered and written and the run ends
// (in the host's callbacks among them), one run each. Every run ends with exit code 7 and says so, or gets
// past the failure and finishes; either way every frame it wrote is whole and no temporary file is left.
TEST(OutOfMemory, AnAllocationFailingAnywhereInASequenceEndsCleanlyAndKeepsTheFrames) {
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    RunOptions preloaded;
    preloaded.environment = {{"LD_PRELOAD", ORVANE_FAILING_ALLOCATOR_PATH},
                             {"ASAN_OPTIONS", std::string(sanitizerOptions ? sanitizerOptions : "") +
                                                  ":verify_asan_link_order=0"}};
    const auto args = [](const ScratchFolder& folder, const std::string& frames) {
        return std::vector<std::string>{"--size", "32x8", "--threads", "1", "--frames", frames, "-o",
                                        folder.path("f-#.pam")};
    };
    ScratchFolder counted;
    const auto allocations = [&](const std::string& frames) {
        ScratchFolder folder;
        RunOptions counting = preloaded;
        counting.environment.emplace_back("ORVANE_COUNT_ALLOCATIONS", counted.path("count"));
        EXPECT_EQ(runRender(args(folder, frames), counting).exitCode, 0);
        return std::stoul(fileBytes(counted.path("count")));
    };
    const unsigned long oneFrame = allocations("0-0"), twoFrames = allocations("0-1");
    ASSERT_GT(twoFrames, oneFrame);

    int endedKeepingAFrame = 0;
    for (unsigned long n = oneFrame; n <= twoFrames; ++n) {
        ScratchFolder folder;
        RunOptions failing = preloaded;
        failing.environment.emplace_back("ORVANE_FAIL_ALLOCATION", std::to_string(n));
        const ToolResult run = runRender(args(folder, "0-1"), failing);
        SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(twoFrames) + ": " + run.err);
        EXPECT_EQ(run.signal, 0);
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == kOutOfMemory) << run.exitCode;
        // "out of memory", or the effect's PF_Err_OUT_OF_MEMORY
        std::string said = run.err;
        std::transform(said.begin(), said.end(), said.begin(),
                       [](unsigned char c) { return c == '_' ? ' ' : static_cast<char>(std::tolower(c)); });
        EXPECT_EQ(run.exitCode == kOutOfMemory, said.find("out of memory") != std::string::npos);
        const std::vector<std::string> frames = folder.files();
        for (const std::string& frame : frames) {
            EXPECT_TRUE(frame == "f-0.pam" || frame == "f-1.pam") << frame;
            EXPECT_EQ(readPam(folder.path(frame)).width, 32) << frame;
        }
        EXPECT_TRUE(run.exitCode != 0 || frames.size() == 2u);
        endedKeepingAFrame += run.exitCode == kOutOfMemory && !frames.empty();
    }
    EXPECT_GT(endedKeepingAFrame, 0) << "no failure came after a finished frame";
}

// The host cannot allocate the frame's buffers (1 GiB each, where the process may map only 512 MiB): out
// of memory, with its exit code, and nothing written.
TEST(OutOfMemory, AFrameWhoseBuffersTheHostCannotAllocate) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's own reservations do not fit under the address-space limit";
#endif
    ScratchFolder folder;
    RunOptions limited;
    limited.addressSpaceLimit = 512L << 20;
    expectRefused(folder,
                  {{"--size", "8192x8192", "--depth", "32", "--threads", "1", "--max-memory", "1T", "-o", "@a.pfm"},
                   kOutOfMemory,
                   "frame 0: the host ran out of memory for the frame's buffers (PF_Err_OUT_OF_MEMORY (4))"},
                  {}, limited);
}

// What --verbose, --help and inspect print is part of the result: when standard output is full or closed,
// that is an error of its own instead of a silent loss or a death by SIGPIPE.
TEST(StandardOutput, AFullOrClosedOneIsAnError) {
    ScratchFolder folder;
    RunOptions full;
    full.standardOutput = "/dev/full";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--size", "4x4", "-v", "-o", "@a.png"}, std::vector<std::string>{"--help"}})
        expectRefused(folder, {args, kStandardOutput, "cannot write to standard output: No space left on device"}, {},
                      full);
    RunOptions closed;
    closed.closedStandardOutput = true;
    const ToolResult run = runRender({"--size", "4x4", "-v", "-o", folder.path("a.png")}, closed);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, kStandardOutput) << run.err;
    EXPECT_NE(run.err.find("cannot write to standard output: Broken pipe"), std::string::npos) << run.err;
}

// On a terminal the progress line of a sequence is cleared before each verbose line, so the two never run
// together, and is drawn again after it.
TEST(StandardOutput, ProgressAndVerboseLinesStayApartOnATerminal) {
    ScratchFolder folder;
    RunOptions terminal;
    terminal.terminal = true;
    const ToolResult run = runRender({"--size", "4x2", "--frames", "0-2", "-v", "-o", folder.path("f-#.pam")}, terminal);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const std::string& screen = run.out;
    EXPECT_NE(screen.find("frame 1 of 3"), std::string::npos) << screen;
    for (const char* line : {"frame 0 at time", "frame 1 at time", "frame 2 at time"}) {
        const std::size_t at = screen.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        // Nothing but blanks since the last line break or return: the line starts clean.
        const std::size_t lineStart = screen.find_last_of("\r\n", at - 1) + 1;
        EXPECT_EQ(screen.substr(lineStart, at - lineStart).find_first_not_of(' '), std::string::npos)
            << line << " follows " << screen.substr(lineStart, at - lineStart);
    }
}

// One case of each exit code, and the one table of them, the same in --help, docs/exit-codes.md and the
// README (which links it).
TEST(ExitCodes, OneCaseOfEachAndOneTable) {
    ScratchFolder folder;
    EXPECT_EQ(runRender({"--size", "4x4", "-o", folder.path("ok.pam")}).exitCode, 0);
    EXPECT_EQ(runRender({"--size", "0x4", "-o", folder.path("a.pam")}).exitCode, kUsage);
    EXPECT_EQ(runRender({"--module", folder.path("absent.so"), "-o", folder.path("a.pam")}).exitCode, kModuleLoad);
    EXPECT_EQ(runRender({"--module", ORVANE_REFUSING_MODULE_PATH, "-o", folder.path("a.pam")}).exitCode, kEffectError);
    folder.write("locked.pam", "keep");
    chmod(folder.path("locked.pam").c_str(), 0444);
    EXPECT_EQ(runRender({"--size", "4x4", "-o", folder.path("locked.pam")}).exitCode, kOutputWrite);
    RunOptions full;
    full.standardOutput = "/dev/full";
    EXPECT_EQ(runRender({"--help"}, full).exitCode, kStandardOutput);
    EXPECT_EQ(runRender({"--module", ORVANE_OUT_OF_MEMORY_MODULE_PATH, "-o", folder.path("a.pam")}).exitCode,
              kOutOfMemory);
    // 128 + N for a signal: cli_files_test.cpp.

    const std::string help = runRender({"--help"}).out;
    const std::string docs = fileBytes(ORVANE_SOURCE_DIR "/docs/exit-codes.md");
    const std::regex row(R"(\| `?([0-9N+]+)`? \| (.+) \|)");
    std::size_t rows = 0;
    for (std::sregex_iterator it(docs.begin(), docs.end(), row), end; it != end; ++it, ++rows) {
        const std::string code = (*it)[1];
        // The help wraps the meaning; its first words start the row.
        const std::string meaning = (*it)[2];
        const std::string firstWords = meaning.substr(0, meaning.find(' ', 30));
        EXPECT_NE(help.find("  " + code + std::string(7 - code.size(), ' ') + firstWords), std::string::npos)
            << code << " " << firstWords << "\n" << help;
    }
    EXPECT_EQ(rows, 9u);
    EXPECT_NE(fileBytes(ORVANE_SOURCE_DIR "/README.md").find("docs/exit-codes.md"), std::string::npos);
}

} // namespace
