// The generator writes the same bytes every time, and the tree next to the
// tests is what the current generator writes.
#include "DataGenerator.h"
#include "DataTree.h"
#include "Pictures.h"
#include "tests/support/TempTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace SkyhogTest {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> readTree(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

TEST(Generator, WritesIdenticalBytesOnEveryRun)
{
    TempTree first, second;
    datagen::generateDataTree(first.root().string());
    datagen::generateDataTree(second.root().string());
    std::map<std::string, std::string> a = readTree(first.root()), b = readTree(second.root());
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_TRUE(bytes == b.at(name)) << name << " differs between runs";
    }
    // Every file the game reads is among them.
    for (const std::string& model : modelFiles()) EXPECT_TRUE(a.count(model)) << model;
    for (const char* file : {"Models/intro.jpg", "Models/outro_win.jpg", "Models/arial.ttf", "Models/Skybox/right.jpg",
                             "Models/Skybox/left.jpg", "Models/Skybox/top.jpg", "Models/Skybox/bottom.jpg",
                             "Models/Skybox/back.jpg", "Models/Skybox/front.jpg", "Models/Ground/water_dudv.jpg",
                             "Models/Ground/dudv_sand.jpg", "Sounds/Intro.mp3", "Sounds/waves.mp3", "Sounds/pain.mp3"})
        EXPECT_TRUE(a.count(file)) << file;

    // The desktop icons, written beside the tree, are made the same way.
    TempTree firstIcons, secondIcons;
    datagen::writeIcons(firstIcons.root().string());
    datagen::writeIcons(secondIcons.root().string());
    const std::map<std::string, std::string> icons = readTree(firstIcons.root());
    EXPECT_EQ(icons.size(), 3u);
    EXPECT_TRUE(icons == readTree(secondIcons.root())) << "the icons differ between runs";

    // The tree the tests read was written by this generator, not an older one.
    for (const auto& [name, bytes] : a) {
        std::ifstream in(DataRoot + name, std::ios::binary);
        ASSERT_TRUE(in) << name << " is missing from the data tree";
        EXPECT_TRUE(bytes == std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()))
            << name << " in the data tree is stale";
    }
}

} // namespace
} // namespace SkyhogTest
