// The whole game in a hidden window, driven through the key table alone:
// the first frame shows the pig in the middle against the sky, then the pig
// is steered over every person in turn with Space held until the win picture
// is all that is drawn.
#include "app/Application.h"
#include "game/HitTest.h"
#include "tests/support/GlTestContext.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

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

    static App::Application* app;
    static float now;
};

App::Application* PlayThrough::app = nullptr;
float PlayThrough::now = 0.0f;

bool near(const std::uint8_t* pixel, int r, int g, int b, int tolerance)
{
    return std::abs(pixel[0] - r) <= tolerance && std::abs(pixel[1] - g) <= tolerance && std::abs(pixel[2] - b) <= tolerance;
}

} // namespace

TEST_F(PlayThrough, TheMainPassShowsThePigInTheMiddleAgainstTheSky)
{
    frame({});
    // Render the main pass once more into a target of our own and read it back.
    SkyhogTest::OffscreenTarget target(320, 240);
    target.bind();
    app->camera().setPass("main");
    glClearColor(0.52f, 0.8f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    app->renderer().renderPass();
    const auto pixels = SkyhogTest::readPixels(0, 0, 320, 240);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

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

TEST_F(PlayThrough, SteeringOverEveryPersonWinsTheGame)
{
    auto& world = app->world();
    ASSERT_EQ(world.people().size(), 13u);
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
    EXPECT_FALSE(app->renderer().running()) << "still " << world.people().size() << " people after " << frames << " frames";
    EXPECT_EQ(app->renderer().score(), 130);
    EXPECT_TRUE(world.people().empty());

    // From now on only the win picture is drawn: no pass touches the offscreen targets.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    app->renderFrame(now);
    const auto pixels = SkyhogTest::readPixels(0, 0, 320, 240);
    EXPECT_FALSE(near(pixels.at(160, 120), 133, 204, 255, 3)) << "the screen still shows the bare sky colour";
    EXPECT_TRUE(SkyhogTest::takeGlErrors().empty());
}
