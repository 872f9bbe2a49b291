// The whole game in a hidden window, driven through the key table alone:
// the first frame shows the pig in the middle against the sky, a hit shows
// its points where the person stood, then the pig is steered over every
// person in turn with Space held until the win picture is all that is drawn.
#include "app/Application.h"
#include "game/HitTest.h"
#include "game/ScorePopups.h"
#include "render/SceneLayout.h"
#include "tests/support/GlTestContext.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Skyhog;

namespace {

constexpr float Step = 1.0f / 30.0f;

class PlayThrough : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        app = new App::Application(WindowSize(320, 240));
        app->openWindow(false);
        app->startScene();
    }
    static void TearDownTestSuite()
    {
        delete app;
        app = nullptr;
    }

    // One frame at the fixed step with the given keys held.
    void frame(const Game::KeyState& keys)
    {
        now += Step;
        app->camera().tick(now);
        app->camera().processKeys(keys, now);
        app->renderer().updateParticles();
        app->renderFrame(now);
        glfwSwapBuffers(app->window());
    }

    // Renders a pass once more into a target of our own and reads it back.
    SkyhogTest::Pixels renderPass(const char* pass = "main")
    {
        SkyhogTest::OffscreenTarget target(320, 240);
        target.bind();
        app->camera().setPass(pass);
        glClearColor(0.52f, 0.8f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        app->renderer().renderPass();
        auto pixels = SkyhogTest::readPixels(0, 0, 320, 240);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return pixels;
    }

    static App::Application* app;
    static float now;
};

App::Application* PlayThrough::app = nullptr;
float PlayThrough::now = 0.0f;

bool near(const std::uint8_t* pixel, int r, int g, int b, int tolerance)
{
    return std::abs(pixel[0] - r) <= tolerance && std::abs(pixel[1] - g) <= tolerance &&
        std::abs(pixel[2] - b) <= tolerance;
}

} // namespace

TEST_F(PlayThrough, TheWorldHoldsEveryModelInItsPlace)
{
    Scene::World& world = app->world();
    const auto& models = world.sceneModels();
    ASSERT_EQ(models.size(), 46u);
    const std::string root = "../../Skyhog/Models/";
    EXPECT_EQ(&world.pig(), models[0]);
    EXPECT_EQ(models[0]->sourcePath(), root + "Pig/pig9.obj");
    EXPECT_EQ(models[1]->sourcePath(), root + "Pig/left_wing.obj");
    EXPECT_EQ(models[2]->sourcePath(), root + "Pig/right_wing.obj");
    EXPECT_EQ(models[3]->sourcePath(), root + "Ground/seeGround.obj");
    EXPECT_EQ(models[4]->sourcePath(), root + "Landscape/boatyMcBoatface.obj");
    for (int n = 1; n <= 41; ++n) {
        EXPECT_EQ(models[4 + n]->sourcePath(), root + "Landscape/Palms/palm" + std::to_string(n) + ".obj");
    }
    ASSERT_EQ(world.wings().size(), 2u);
    EXPECT_EQ(world.wings()[0], models[1]);
    EXPECT_EQ(&world.rightWing(), models[2]);

    // Each person stands on its marker's lower corner, moved by the scenery offset.
    ASSERT_EQ(world.people().size(), 13u);
    ASSERT_EQ(world.positions().size(), 13u);
    for (std::size_t i = 0; i < 13; ++i) {
        Scene::Model* marker = world.positions()[i];
        EXPECT_EQ(marker->sourcePath(), root + "Positions/position" + std::to_string(i + 1) + ".obj");
        const glm::vec3 spot = glm::vec3(marker->localMin()) + glm::vec3(-10.0f, -50.0f, 10.0f);
        const glm::vec3 placed(world.people()[i]->translation()[3]);
        EXPECT_NEAR(glm::distance(placed, spot), 0.0f, 1e-3f) << "person " << i + 1;
    }

    // The list read ahead at start-up is exactly what was loaded, in the same order.
    std::vector<std::string> loaded;
    for (Scene::Model* model : models) loaded.push_back(model->sourcePath());
    loaded.push_back(world.island().sourcePath());
    for (Scene::Model* marker : world.positions()) loaded.push_back(marker->sourcePath());
    loaded.push_back(world.people().front()->sourcePath());
    loaded.push_back(world.water().sourcePath());
    EXPECT_EQ(Scene::World::files().models, loaded);

    // Removing someone who is not in the list changes nothing.
    const auto before = world.people();
    world.removePerson(&world.pig());
    EXPECT_EQ(world.people(), before);
}

TEST_F(PlayThrough, TheMainPassShowsThePigInTheMiddleAgainstTheSky)
{
    frame({});
    const auto pixels = renderPass();

    // The pig is pink: more red than blue, unlike sky, sea or sand.
    int pink = 0;
    for (int y = 100; y < 140; ++y)
        for (int x = 140; x < 180; ++x) {
            const auto* p = pixels.at(x, y);
            if (p[0] > 150 && p[0] > p[2] + 20 && p[1] < p[0] - 30) ++pink;
        }
    EXPECT_GT(pink, 200) << "no pig in the middle of the picture";
    // The top corners show the sky.
    const auto* corner = pixels.at(5, 234);
    EXPECT_GT(corner[2], corner[0]) << "the top of the picture is not sky-blue";
    EXPECT_GT(corner[2], 150);
    EXPECT_TRUE(SkyhogTest::takeGlErrors().empty());
}

TEST_F(PlayThrough, TheReflectionPictureHoldsTheBoatsMirrorImageWhereTheEyeSeesIt)
{
    // The sea reads the reflection picture where it lies on screen, so the
    // picture must show the boat mirrored in the water plane as the player's
    // eye sees it, not as the reflection pass's own camera does (12 units
    // under the pig, upside down), which put a ghost of the hull beside it.
    frame({});
    app->camera().setPass("main");
    const glm::mat4 eyeView = app->camera().viewFor();
    const auto mirror = renderPass("reflection");
    Scene::Model& boat = *app->world().sceneModels()[4];
    glm::vec3 middle = glm::vec3(boat.worldMin() + boat.worldMax()) * 0.5f;
    middle.y = 2.0f * Scene::Layout::WaterLevel - middle.y;
    const glm::vec4 clip = app->renderer().projection() * eyeView * glm::vec4(middle, 1.0f);
    const int x = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * 320.0f);
    const int y = static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * 240.0f);
    ASSERT_TRUE(x > 3 && x < 316 && y > 3 && y < 236) << "the boat's mirror image is off the picture at (" << x
                                                       << ", " << y << ")";
    // Sail, mast and hull are grey or brown; the mirrored sky around them is blue.
    int boatColoured = 0;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) {
            const auto* p = mirror.at(x + dx, y + dy);
            if (p[2] < p[0] + 40) ++boatColoured;
        }
    EXPECT_GT(boatColoured, 20) << "no boat in the reflection picture at (" << x << ", " << y << ")";
}

TEST_F(PlayThrough, ThePalmsCastShadowsOnTheIsland)
{
    // The same main pass, once with this frame's shadow map and once with the
    // map cleared to "nothing in the way": the shadows darken part of the
    // picture and brighten none of it.
    frame({});
    const auto shadowed = renderPass();
    glBindFramebuffer(GL_FRAMEBUFFER, app->renderer().getShadowFramebuffer());
    glClear(GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const auto unshadowed = renderPass();

    int darker = 0, brighter = 0;
    for (std::size_t i = 0; i < shadowed.rgba.size(); i += 4) {
        const int a = shadowed.rgba[i] + shadowed.rgba[i + 1] + shadowed.rgba[i + 2];
        const int b = unshadowed.rgba[i] + unshadowed.rgba[i + 1] + unshadowed.rgba[i + 2];
        if (a < b - 60) ++darker;
        if (a > b + 60) ++brighter;
    }
    EXPECT_GT(darker, 320 * 240 / 100) << "no shadows on screen";
    EXPECT_LT(brighter, 320 * 240 / 200) << "shadows made parts of the picture brighter";
}

TEST_F(PlayThrough, ThePigsShadowFallsOnTheSea)
{
    // The top-down map pass, with the pig moved out over the open sea beside
    // the map's centre, so that its shadow straight below shows next to it.
    // Rendered once with this frame's shadow map and once with the map
    // cleared: the sea darkens under the pig and brightens nowhere. The pig
    // is doubled in size meanwhile, so that its shadow covers more than a
    // few of the map's pixels.
    const glm::vec3 aside(-150.0f, 0.0f, 0.0f); // model units: 30 world units towards -x
    app->world().pig().translate(aside);
    app->world().pig().scale(glm::vec3(2.0f));
    frame({});
    const auto shadowed = renderPass("map");
    glBindFramebuffer(GL_FRAMEBUFFER, app->renderer().getShadowFramebuffer());
    glClear(GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const auto unshadowed = renderPass("map");
    app->world().pig().scale(glm::vec3(0.5f));
    app->world().pig().translate(-aside);
    frame({});

    int darker = 0, brighter = 0;
    for (std::size_t i = 0; i < shadowed.rgba.size(); i += 4) {
        const std::uint8_t* open = &unshadowed.rgba[i];
        if (open[2] < open[0] + 20) continue; // sand, palms and people: not sea
        const int a = shadowed.rgba[i] + shadowed.rgba[i + 1] + shadowed.rgba[i + 2];
        const int b = open[0] + open[1] + open[2];
        if (a < b - 40) ++darker;
        if (a > b + 40) ++brighter;
    }
    EXPECT_GE(darker, 6) << "no shadow on the sea";
    EXPECT_EQ(brighter, 0);
}

TEST_F(PlayThrough, FrustumCullingNeverChangesWhatIsOnScreen)
{
    // Turn a little so part of the scenery is outside the view, then render the
    // main pass with culling off and on and compare the pictures.
    app->camera().onCursor(0.0, 0.0, true);
    app->camera().onCursor(-600.0, 0.0, false);
    const auto withoutCulling = renderPass();
    Game::KeyState f8{};
    f8[Game::Key::F8] = true;
    app->camera().processKeys(f8, now);
    ASSERT_TRUE(app->camera().cullingOn());
    const auto withCulling = renderPass();
    EXPECT_LT(app->renderer().visibleModels().size(), app->world().sceneModels().size()) << "nothing was culled";

    // People walk and wings flap a little between the two renders; a culled
    // model that should show would change far more than that.
    int differing = 0;
    for (std::size_t i = 0; i < withCulling.rgba.size(); i += 4) {
        int delta = 0;
        for (int c = 0; c < 3; ++c)
            delta = std::max(delta, std::abs(withCulling.rgba[i + c] - withoutCulling.rgba[i + c]));
        if (delta > 40) ++differing;
    }
    EXPECT_LT(differing, 320 * 240 / 200) << differing << " pixels changed";

    app->camera().processKeys({}, now);
    app->camera().processKeys(f8, now); // culling off again
    app->camera().processKeys({}, now);
    ASSERT_FALSE(app->camera().cullingOn());
    app->camera().onCursor(0.0, 0.0, false); // back to looking along +z
}

TEST_F(PlayThrough, AHitShowsItsPointsWhereThePersonStood)
{
    // The view tilted down as far as it goes, the pig right over the first
    // person, and the stream on until somebody is hit.
    auto& world = app->world();
    app->camera().onCursor(0.0, 0.0, true);
    app->camera().onCursor(0.0, -1780.0, false);
    Scene::Model* person = world.people().front();
    const glm::vec3 spot = (glm::vec3(person->worldMin()) + glm::vec3(person->worldMax())) * 0.5f;
    const glm::vec3 offset = (spot - glm::vec3(world.pig().modelMatrix()[3])) * 5.0f; // model units
    world.pig().translate({offset.x, 0.0f, offset.z});
    Game::KeyState space{};
    space[Game::Key::Space] = true;
    const int before = app->renderer().score();
    for (int i = 0; i < 300 && app->renderer().score() == before; ++i) frame(space);
    ASSERT_EQ(app->renderer().score(), before + 10);
    ASSERT_EQ(std::count(world.people().begin(), world.people().end(), person), 0) << "someone else was hit";

    // Where the person's head was, on this 320 x 240 screen: the points start
    // a unit above it.
    const Game::Box box = Game::boxFromCorners(person->worldMin(), person->worldMax());
    const glm::vec3 head((box.min.x + box.max.x) * 0.5f, box.max.y + 1.0f, (box.min.z + box.max.z) * 0.5f);
    app->camera().setPass("main");
    const auto text = Game::ScorePopups::toTextSpace(app->renderer().projection() * app->camera().viewFor(), head);
    ASSERT_TRUE(text);
    const glm::vec2 expected(text->x * 320.0f / 800.0f, text->y * 240.0f / 600.0f);

    // The main pass with the points showing, and again once they have faded
    // (the stream released in both): what differs is the "+10".
    app->camera().processKeys({}, now);
    const auto shown = renderPass();
    now += 2.0f;
    app->camera().tick(now);
    app->renderer().updateParticles();
    const auto faded = renderPass();
    glm::vec2 sum(0.0f);
    int changed = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            int delta = 0;
            for (int c = 0; c < 3; ++c) delta = std::max(delta, std::abs(shown.at(x, y)[c] - faded.at(x, y)[c]));
            if (delta <= 60 || std::abs(x - expected.x) > 40.0f || std::abs(y - expected.y) > 40.0f) continue;
            sum += glm::vec2(x, y);
            ++changed;
        }
    ASSERT_GT(changed, 20) << "no \"+10\" near (" << expected.x << ", " << expected.y << ")";
    // Centred over the head, standing on it (the text's baseline).
    const glm::vec2 centre = sum / static_cast<float>(changed);
    EXPECT_NEAR(centre.x, expected.x, 8.0f);
    EXPECT_GT(centre.y, expected.y - 2.0f);
    EXPECT_LT(centre.y, expected.y + 16.0f);

    app->camera().onCursor(0.0, 0.0, false); // level again
}

TEST_F(PlayThrough, SteeringOverEveryPersonWinsTheGame)
{
    auto& world = app->world();
    ASSERT_FALSE(world.people().empty());
    int frames = 0;
    int lastScore = app->renderer().score();
    while (app->renderer().running() && frames < 6000) {
        Game::KeyState keys{};
        if (!world.people().empty()) {
            Scene::Model* target = world.people().front();
            const Game::Box box = Game::boxFromCorners(target->worldMin(), target->worldMax());
            const glm::vec3 goal = (box.min + box.max) * 0.5f;
            const glm::vec3 pig(world.pig().modelMatrix()[3]);
            // The view looks along +z: W/S move along z, A/D along x (A towards +x).
            const float dx = goal.x - pig.x, dz = goal.z - pig.z;
            const float tolerance = 0.08f;
            if (dz > tolerance) keys[Game::Key::W] = true;
            if (dz < -tolerance) keys[Game::Key::S] = true;
            if (dx > tolerance) keys[Game::Key::A] = true;
            if (dx < -tolerance) keys[Game::Key::D] = true;
            keys[Game::Key::Space] = std::abs(dx) < 1.0f && std::abs(dz) < 1.0f;
        }
        frame(keys);
        ++frames;
        const int score = app->renderer().score();
        ASSERT_TRUE(score == lastScore || score == lastScore + 10 || score == lastScore + 20);
        lastScore = score;
    }
    EXPECT_FALSE(app->renderer().running())
        << "still " << world.people().size() << " people after " << frames << " frames";
    EXPECT_EQ(app->renderer().score(), 130);
    EXPECT_TRUE(world.people().empty());

    // From now on only the win picture is drawn: no pass touches the offscreen targets.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    app->renderFrame(now);
    const auto pixels = SkyhogTest::readPixels(0, 0, 320, 240);
    EXPECT_FALSE(near(pixels.at(160, 120), 133, 204, 255, 3)) << "the screen still shows the bare sky colour";
    EXPECT_TRUE(SkyhogTest::takeGlErrors().empty());
}
