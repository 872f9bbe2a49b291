// The start-up prefetch: what it reads is what the loads later use, a file it
// cannot read is left for the load to report, and stopping it never hangs.
#include "render/DataPaths.h"
#include "render/Model.h"
#include "render/TextureLoader.h"
#include "scene/World.h"
#include "scene/WorldPrefetch.h"
#include "tests/scene/SceneTest.h"

#include <filesystem>
#include <random>

namespace SkyhogTest {
namespace {

using Skyhog::Scene::Model;
using Skyhog::Scene::World;
using Skyhog::Scene::WorldPrefetch;

class WorldPrefetchTest : public SceneTest {
protected:
    // The data root's path of a file, as the loaders open it.
    static std::string dataPath(const std::string& relative) { return Skyhog::DataRoot + relative; }

    // Red texel of a picture as the loader uploads it.
    static Rgb firstTexel(GLuint texture)
    {
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        std::array<unsigned char, 4 * 16> texels{};
        if (width == 4) glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return {texels[0], texels[1], texels[2]};
    }
};

TEST_F(WorldPrefetchTest, ListsEveryModelOnceInLoadOrderAndThePicturesNoModelNames)
{
    const World::Files files = World::files();
    // Pig, two wings, sea ground, boat, the palms, island, the markers, one person file, water.
    ASSERT_EQ(files.models.size(), static_cast<std::size_t>(3 + 2 + World::PalmCount + 1 + World::PersonCount + 1 + 1));
    EXPECT_EQ(files.models.front(), dataPath("Models/Pig/pig9.obj"));
    EXPECT_EQ(files.models.back(), dataPath("Models/Ground/water.obj"));
    EXPECT_EQ(files.models[5], dataPath("Models/Landscape/Palms/palm1.obj"));
    ASSERT_EQ(files.pictures.size(), 8u);
    EXPECT_EQ(files.pictures[6], dataPath("Models/Ground/dudv_sand.jpg"));
    EXPECT_EQ(files.pictures[7], dataPath("Models/Ground/water_dudv.jpg"));
}

TEST_F(WorldPrefetchTest, WhatItReadIsWhatTheLoadsUseEvenAfterTheFilesAreGone)
{
    writePicture("Models/Pig/pig.png", {200, 40, 40});
    writeSquareModel("Models/Pig/pig9.obj", "pig.png");
    writePicture("Models/Skybox/top.jpg", {40, 200, 40});
    writePicture("Models/intro.jpg", {40, 40, 200});
    {
        WorldPrefetch prefetch({dataPath("Models/intro.jpg")});
        prefetch.finish();
        prefetch.finish(); // a second wait returns at once
        // Every listed file was visited, present or not.
        const World::Files files = World::files();
        EXPECT_GE(prefetch.filesRead(), static_cast<int>(1 + files.models.size() + files.pictures.size()));
    }
    // With the files deleted, only the kept copies can answer.
    std::filesystem::remove_all(tree_.root() / "Skyhog/Models");

    EXPECT_EQ(Model::prepareFile(dataPath("Models/Pig/pig9.obj")),
              std::vector<std::string>{dataPath("Models/Pig/pig.png")});
    const GLuint pig = Skyhog::loadTextureFile(dataPath("Models/Pig/pig.png"), Skyhog::TextureVariant::ModelMaterial);
    const GLuint sky =
        Skyhog::loadTextureFile(dataPath("Models/Skybox/top.jpg"), Skyhog::TextureVariant::ModelMaterial);
    const GLuint intro =
        Skyhog::loadTextureFile(dataPath("Models/intro.jpg"), Skyhog::TextureVariant::FullScreenPicture);
    EXPECT_EQ(firstTexel(pig), (Rgb{200, 40, 40}));
    EXPECT_EQ(firstTexel(sky), (Rgb{40, 200, 40}));
    EXPECT_EQ(firstTexel(intro), (Rgb{40, 40, 200}));
    for (GLuint texture : {pig, sky, intro}) glDeleteTextures(1, &texture);
}

TEST_F(WorldPrefetchTest, AFileItCannotReadIsLeftForTheLoadToReport)
{
    // An empty pig, a palm whose face names vertices it never gives, and a boat of random bytes.
    tree_.write("Skyhog/Models/Pig/pig9.obj", "");
    tree_.write("Skyhog/Models/Landscape/Palms/palm1.obj", "f 1 2 3\n");
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    tree_.write("Skyhog/Models/Landscape/boatyMcBoatface.obj", noise);
    {
        WorldPrefetch prefetch;
        prefetch.finish();
    }
    // Nothing was kept for them: once the files are mended the load reads the new ones
    // (with the broken ones, the load itself reports the importer's message).
    writeSquareModel("Models/Pig/pig9.obj", "pig.png");
    writeSquareModel("Models/Landscape/Palms/palm1.obj", "palm.png");
    EXPECT_EQ(Model::prepareFile(dataPath("Models/Pig/pig9.obj")),
              std::vector<std::string>{dataPath("Models/Pig/pig.png")});
    EXPECT_EQ(Model::prepareFile(dataPath("Models/Landscape/Palms/palm1.obj")),
              std::vector<std::string>{dataPath("Models/Landscape/Palms/palm.png")});
}

TEST_F(WorldPrefetchTest, StoppingOrDestroyingItEarlyNeverHangs)
{
    for (int round = 0; round < 20; ++round) {
        WorldPrefetch prefetch({dataPath("Models/intro.jpg")});
        if (round % 2 == 0) prefetch.stop();
        prefetch.stop();
    } // the destructor stops whatever is left
    WorldPrefetch finished;
    finished.finish();
    const int read = finished.filesRead();
    finished.stop();
    EXPECT_EQ(finished.filesRead(), read);
}

} // namespace
} // namespace SkyhogTest
