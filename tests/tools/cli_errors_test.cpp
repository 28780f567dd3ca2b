// Bad input of every kind through the binary: each names what is wrong, exits with its code, and leaves no
// output file (nor a temporary one) behind.
#include "ScratchFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

using namespace OrvaneToolsTest;

namespace {

constexpr int kUsage = 2, kModuleLoad = 3, kEffectError = 4;

struct BadRun {
    std::vector<std::string> args;
    int exitCode;
    std::string message;
};

// Runs with "-o <folder>/out.<ext>" appended (unless the case gives its own -o) and checks the outcome.
void expectRefused(const ScratchFolder& folder, const BadRun& bad, const std::vector<std::string>& filesBefore) {
    std::vector<std::string> args = bad.args;
    for (auto& a : args)
        if (a.rfind("@", 0) == 0) a = folder.path(a.substr(1));
    const ToolResult run = runRender(args);
    EXPECT_EQ(run.exitCode, bad.exitCode) << bad.message << "\n" << run.err;
    EXPECT_NE(run.err.find(bad.message), std::string::npos) << "expected \"" << bad.message << "\" in:\n" << run.err;
    EXPECT_EQ(run.err.rfind("orvane-render: ", 0), 0u) << run.err;
    EXPECT_EQ(folder.files(), filesBefore) << bad.message;
}

TEST(BadInput, FlagsAndValues) {
    ScratchFolder folder;
    const std::vector<BadRun> cases = {
        {{"--bogus", "-o", "@a.png"}, kUsage, "--bogus"},
        {{"--size", "0x4", "-o", "@a.png"}, kUsage, "--size: expected WxH"},
        {{"--size", "640", "-o", "@a.png"}, kUsage, "got '640'"},
        {{"--depth", "12", "-o", "@a.png"}, kUsage, "--depth: expected 8, 16 or 32"},
        {{"--downsample", "0", "-o", "@a.png"}, kUsage, "--downsample"},
        {{"--shape", "conic", "-o", "@a.png"}, kUsage, "--shape: expected linear or radial"},
        {{"--repeat", "mirror", "-o", "@a.png"}, kUsage, "--repeat"},
        {{"--point1", "1;2", "-o", "@a.png"}, kUsage, "--point1"},
        {{"--color", "#ggg000", "-o", "@a.png"}, kUsage, "--color: expected #RRGGBB"},
        {{"--color", "#ff0000", "--color", "1:#00ff00", "-o", "@a.png"}, kUsage, "one plain colour"},
        {{"--opacity", "300", "-o", "@a.png"}, kUsage, "-100 to 200"},
        {{"--time", "-1", "-o", "@a.png"}, kUsage, "--time"},
        {{"--fps", "0", "-o", "@a.png"}, kUsage, "--fps"},
        {{"--frames", "5-2", "-o", "@a#.png"}, kUsage, "--frames"},
        {{"--threads", "0", "-o", "@a.png"}, kUsage, "--threads"},
        {{"--time", "1", "--frames", "0-1", "-o", "@a#.png"}, kUsage, "exclude each other"},
        {{"--frames", "0-1", "-o", "@a.png"}, kUsage, "run of '#'"},
        {{"--size", "4x4"}, kUsage, "no output file"},
        {{"-o", "@a.tif"}, kUsage, "must end in .png, .exr or .pam"},
        {{"--depth", "32", "-o", "@a.pam"}, kUsage, "PAM"},
        {{"-o", "@missing/a.png"}, kUsage, "does not exist"},
        {{"inspect"}, kUsage, "MODULE"},
    };
    for (const BadRun& bad : cases) expectRefused(folder, bad, {});
}

TEST(BadInput, UnloadableModules) {
    ScratchFolder folder;
    folder.write("not-a-module.so", "plain text");
    expectRefused(folder, {{"--module", "@absent.so", "-o", "@a.png"}, kModuleLoad, "cannot load module"},
                  {"not-a-module.so"});
    expectRefused(folder, {{"--module", "@not-a-module.so", "-o", "@a.png"}, kModuleLoad, "not-a-module.so"},
                  {"not-a-module.so"});
}

TEST(BadInput, SceneFiles) {
    ScratchFolder folder;
    folder.write("broken.json", "{\"size\": ");
    folder.write("typo.json", "{\"colour\": \"#ff0000\"}");
    folder.write("value.json", "{\"repeat\": \"sideways\"}");
    const std::vector<std::string> scenes = {"broken.json", "typo.json", "value.json"};
    expectRefused(folder, {{"--scene", "@absent.json", "-o", "@a.png"}, kUsage, "cannot read"}, scenes);
    expectRefused(folder, {{"--scene", "@broken.json", "-o", "@a.png"}, kUsage, "not valid JSON"}, scenes);
    expectRefused(folder, {{"--scene", "@typo.json", "-o", "@a.png"}, kUsage, "unknown setting \"colour\""}, scenes);
    expectRefused(folder, {{"--scene", "@value.json", "-o", "@a.png"}, kUsage, "\"repeat\""}, scenes);
}

TEST(EffectErrors, NamedWithTheHostNameAndTheEffectsMessage) {
    ScratchFolder folder;
    expectRefused(folder,
                  {{"--module", ORVANE_REFUSING_MODULE_PATH, "-o", "@a.png"}, kEffectError,
                   "returned PF_Err_BAD_CALLBACK_PARAM (516); the effect says: parameters are not available today"},
                  {});
}

TEST(EffectErrors, ALayerTooLargeForTheHostIsReportedWithItsCode) {
    ScratchFolder folder;
    expectRefused(folder, {{"--size", "65536x65536", "-o", "@a.png"}, kEffectError, "frame 0: "}, {});
    expectRefused(folder, {{"--size", "65536x65536", "-o", "@a.png"}, kEffectError, "PF_Err_OUT_OF_MEMORY (4)"}, {});
}

} // namespace
