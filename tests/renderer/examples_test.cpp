// The scenes in examples/ and the pictures of the guide and the README: every scene still renders, and
// exactly as the picture made from it (tools/gallery), and every picture the documents show exists and has
// its scene, so neither the scenes nor the pictures can rot.
#include "ImageFiles.h"
#include "ScratchFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <set>

using namespace OrvaneToolsTest;
namespace fs = std::filesystem;

namespace {

const fs::path kSource = ORVANE_SOURCE_DIR;

std::vector<std::string> namesIn(const fs::path& folder, const std::string& extension) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == extension) names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ExampleScene : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleScene, RendersAsTheGuidesPicture) {
    const std::string name = GetParam();
    ScratchFolder folder;
    const ToolResult run = runRender({"--scene", (kSource / "examples" / (name + ".json")).string(), "-o",
                                      folder.path(name + ".png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PngImage rendered = readPng(folder.path(name + ".png"));
    const fs::path picture = kSource / "docs" / "pictures" / (name + ".png");
    ASSERT_TRUE(fs::exists(picture)) << picture << " is missing: run tools/gallery";
    const PngImage committed = readPng(picture.string());
    EXPECT_EQ(rendered.width, committed.width);
    EXPECT_EQ(rendered.height, committed.height);
    EXPECT_EQ(rendered.bitDepth, committed.bitDepth);
    EXPECT_TRUE(rendered.samples == committed.samples)
        << picture << " is not what the effect draws from examples/" << name << ".json: run tools/gallery";
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleScene, ::testing::ValuesIn(namesIn(kSource / "examples", ".json")), testName);

// The pictures a Markdown file shows: ![alt](path.png) and <img src="path.png">, as paths from its folder.
std::vector<fs::path> picturesShownIn(const fs::path& document) {
    const std::string text = fileBytes(document.string());
    static const std::regex reference(R"(\]\(([^)\s]+\.png)\)|src="([^"]+\.png)\")");
    std::vector<fs::path> pictures;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), reference); it != std::sregex_iterator(); ++it)
        pictures.push_back(document.parent_path() / ((*it)[1].matched ? (*it)[1].str() : (*it)[2].str()));
    return pictures;
}

TEST(ExampleDocuments, EveryPictureShownExistsAndEveryGalleryPictureHasItsScene) {
    std::set<std::string> shown;
    for (const fs::path& document : {kSource / "README.md", kSource / "docs" / "guide.md"}) {
        const auto pictures = picturesShownIn(document);
        EXPECT_FALSE(pictures.empty()) << document << " shows no picture";
        for (const fs::path& picture : pictures) {
            EXPECT_TRUE(fs::exists(picture)) << document << " shows " << picture << ", which does not exist";
            if (picture.parent_path().filename() == "pictures") shown.insert(picture.stem().string());
        }
    }
    const auto scenes = namesIn(kSource / "examples", ".json");
    for (const std::string& picture : namesIn(kSource / "docs" / "pictures", ".png"))
        EXPECT_TRUE(std::binary_search(scenes.begin(), scenes.end(), picture))
            << "docs/pictures/" << picture << ".png has no scene in examples/: run tools/gallery";
    for (const std::string& scene : scenes)
        EXPECT_TRUE(shown.count(scene)) << "examples/" << scene << ".json makes a picture no document shows";
}

} // namespace
