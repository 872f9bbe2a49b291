// Camera rig and key controls: mouse look, the two front formulas, the view
// of each pass, movement scaled by the time step, toggles and filters.
#include "game/CameraRig.h"
#include "game/KeyControls.h"
#include "game/SceneLens.h"
#include "game/WingFlap.h"
#include "tests/game/TestModels.h"
#include "tests/support/VecNear.h"

#include <GL/glcorearb.h> // the filter values the controls must hand to OpenGL
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

using namespace Skyhog::Game;
using SkyhogTest::BareModel;
using SkyhogTest::expectNear;

namespace {

const glm::vec3 Lamp(0.0f, 200.0f, -30.0f);

// Places a pig like the game's: translation (0, 28, 5), scale 0.8.
void place(BareModel& pig)
{
    pig.place({0.0f, 28.0f, 5.0f}, 0.8f);
}

KeyState keysHeld(std::initializer_list<int> held)
{
    KeyState keys{};
    for (int key : held) keys[static_cast<std::size_t>(key)] = true;
    return keys;
}

} // namespace

TEST(CameraRig, FollowsThePigAfterUpdateAndStartsLookingAlongPlusZ)
{
    BareModel pig;
    place(pig);
    CameraRig rig(pig);
    expectNear(rig.getPosition(), {0.0f, 3.85f, -1.0f}); // z negated until the first update
    rig.update();
    expectNear(rig.getPosition(), {0.0f, 3.85f, 1.0f});
    expectNear(rig.getFront(), {0.0f, 0.0f, 1.0f});
}

TEST(CameraRig, MouseLookTurnsByCursorTravelAndIgnoresTheFirstEvent)
{
    BareModel pig;
    CameraRig rig(pig);
    rig.mouseLook(900.0f, 100.0f, true);
    EXPECT_FLOAT_EQ(rig.getYaw(), -90.0f);
    EXPECT_FLOAT_EQ(rig.getPitch(), 0.0f);
    rig.mouseLook(880.0f, 110.0f, false); // 20 left, 10 down
    EXPECT_FLOAT_EQ(rig.getYaw(), -89.0f);
    EXPECT_FLOAT_EQ(rig.getPitch(), 0.5f);
}

TEST(CameraRig, PitchStaysWithinEightyNineDegrees)
{
    BareModel pig;
    CameraRig rig(pig);
    rig.mouseLook(0.0f, 0.0f, true);
    rig.mouseLook(0.0f, 100000.0f, false);
    EXPECT_FLOAT_EQ(rig.getPitch(), 89.0f);
    rig.mouseLook(0.0f, -100000.0f, false);
    EXPECT_FLOAT_EQ(rig.getPitch(), -89.0f);
    EXPECT_NEAR(glm::length(rig.getFront()), 1.0f, 1e-5f);
}

TEST(CameraRig, FrontFormulasForChaseAndFreeFlight)
{
    BareModel pig;
    CameraRig chase(pig);
    chase.mouseLook(0.0f, 0.0f, true);
    chase.mouseLook(-600.0f, 600.0f, false); // yaw -60, pitch 30
    const float a = glm::radians(-60.0f), b = glm::radians(30.0f);
    // The chase view multiplies the yaw angle by cos(pitch) inside the trigonometry.
    expectNear(chase.getFront(),
               glm::normalize(glm::vec3(std::cos(a * std::cos(b)), std::sin(b), -std::sin(a * std::cos(b)))));

    CameraRig free(pig);
    free.setFreeFlight(true);
    free.mouseLook(0.0f, 0.0f, true);
    free.mouseLook(-600.0f, 600.0f, false);
    expectNear(free.getFront(),
               glm::normalize(glm::vec3(std::cos(a) * std::cos(b), std::sin(b) + 0.7f, -std::sin(a) * std::cos(b))));

    // Straight ahead, both agree on the heading; free flight tilts upwards.
    CameraRig level(pig);
    level.setCullingView(true);
    level.mouseLook(5.0f, 5.0f, true);
    expectNear(level.getFront(), glm::normalize(glm::vec3(0.0f, 0.7f, 1.0f)));
}

TEST(CameraRig, ViewOfEachPass)
{
    BareModel pig;
    place(pig);
    CameraRig rig(pig);
    rig.update();
    const glm::vec3 p = rig.getPosition();
    const glm::vec3 f = rig.getFront();
    const glm::vec3 up(0.0f, 1.0f, 0.0f);
    const auto same = [](const glm::mat4& a, const glm::mat4& b) {
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r) EXPECT_NEAR(a[c][r], b[c][r], 1e-5f);
    };
    same(rig.viewFor("main", Lamp), glm::lookAt(p - 4.0f * f, p, up));
    same(rig.viewFor("refraction", Lamp), glm::lookAt(p - 4.0f * f, p, up));
    const glm::vec3 low(p.x, p.y - 12.0f, p.z);
    same(rig.viewFor("reflection", Lamp), glm::lookAt(low, low + f, glm::vec3(0.0f, -1.0f, 0.0f)));
    same(rig.viewFor("shadow", Lamp), glm::lookAt(Lamp, Lamp - glm::vec3(0, 100, 0), glm::vec3(0, 0, 1)));
    same(rig.viewFor("map", Lamp), glm::lookAt(glm::vec3(0, 90, 0), glm::vec3(0, 89, 0), glm::vec3(0, 0, 1)));

    // The eye's right points to the viewer's right: -x when looking along +z.
    expectNear(rig.eyeFor("main", Lamp).right(), {-1.0f, 0.0f, 0.0f});
}

TEST(CameraRig, FreeFlightConsumesThePendingDisplacementOnce)
{
    BareModel pig;
    place(pig);
    CameraRig rig(pig);
    rig.update();
    rig.setFreeFlight(true);
    const glm::vec3 start = rig.getPosition();
    rig.setPending({1.0f, 2.0f, 3.0f});
    rig.update();
    expectNear(rig.getPosition(), start + glm::vec3(1.0f, 2.0f, 3.0f));
    rig.update(); // released keys: the viewpoint stops at once
    expectNear(rig.getPosition(), start + glm::vec3(1.0f, 2.0f, 3.0f));
}

TEST(KeyControls, MovementIsScaledByTheTimeStepAndOppositeKeysCancel)
{
    KeyControls controls(0.0);
    const glm::vec3 front(0.0f, 0.0f, 1.0f), up(0.0f, 1.0f, 0.0f);
    auto step = controls.process(keysHeld({Key::W}), 0.1f, front, up, 0.0);
    expectNear(step.displacement, {0.0f, 0.0f, 5.0f});

    step = controls.process(keysHeld({Key::W, Key::S}), 0.1f, front, up, 0.0);
    expectNear(step.displacement, {0.0f, 0.0f, 0.0f});

    step = controls.process(keysHeld({Key::W, Key::A}), 0.1f, front, up, 0.0);
    EXPECT_NEAR(glm::length(step.displacement), 5.0f * std::sqrt(2.0f), 1e-4f);
    EXPECT_GT(step.displacement.x, 0.0f); // A moves to the viewer's left, +x when facing +z

    // Looking down steeply still moves horizontally at full speed.
    step = controls.process(keysHeld({Key::W}), 0.1f, glm::normalize(glm::vec3(0.0f, -0.9f, 0.1f)), up, 0.0);
    expectNear(step.displacement, {0.0f, 0.0f, 5.0f});
}

TEST(KeyControls, PeeFlagFollowsSpaceEveryFrame)
{
    KeyControls controls(0.0);
    const glm::vec3 front(0, 0, 1), up(0, 1, 0);
    controls.process(keysHeld({Key::Space}), 0.016f, front, up, 0.0);
    EXPECT_TRUE(controls.peeing());
    controls.process(keysHeld({}), 0.016f, front, up, 0.0);
    EXPECT_FALSE(controls.peeing());
}

TEST(KeyControls, TogglesActOncePerPressHoweverLongTheKeyIsHeld)
{
    KeyControls controls(0.0);
    const glm::vec3 front(0, 0, 1), up(0, 1, 0);
    const KeyState held = keysHeld({Key::F1, Key::F3, Key::F6, Key::F7, Key::F8});
    for (int frame = 0; frame < 7; ++frame) controls.process(held, 0.016f, front, up, 0.0);
    EXPECT_TRUE(controls.freeFlight());
    EXPECT_TRUE(controls.wireframe());
    EXPECT_TRUE(controls.shadowDebug());
    EXPECT_TRUE(controls.waterDebug());
    EXPECT_TRUE(controls.cullingOn());

    controls.process(keysHeld({}), 0.016f, front, up, 0.0);           // released
    const auto step = controls.process(held, 0.016f, front, up, 0.0); // pressed again
    EXPECT_FALSE(controls.freeFlight());
    EXPECT_FALSE(controls.wireframe());
    EXPECT_TRUE(step.wireframeChanged);
    EXPECT_FALSE(controls.cullingOn());
}

TEST(KeyControls, FilterKeysShareAOneSecondTimerFromTheTruncatedActionTime)
{
    KeyControls controls(10.7); // timer starts at 10
    const glm::vec3 front(0, 0, 1), up(0, 1, 0);
    EXPECT_EQ(controls.filters(), (TextureFilters{GL_LINEAR, GL_LINEAR}));

    EXPECT_FALSE(controls.process(keysHeld({Key::F4}), 0.016f, front, up, 10.9).filtersChanged);
    auto step = controls.process(keysHeld({Key::F4}), 0.016f, front, up, 11.2);
    EXPECT_TRUE(step.filtersChanged);
    EXPECT_FALSE(controls.linearFiltering());
    EXPECT_EQ(controls.filters(), (TextureFilters{GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST})); // mode -1

    // F5 shares the timer (now 11): not before 12.
    EXPECT_FALSE(controls.process(keysHeld({Key::F5}), 0.016f, front, up, 11.9).filtersChanged);
    step = controls.process(keysHeld({Key::F5}), 0.016f, front, up, 12.5);
    EXPECT_TRUE(step.filtersChanged);
    EXPECT_EQ(controls.mipmapMode(), 0);
    EXPECT_EQ(controls.filters(), (TextureFilters{GL_NEAREST, GL_NEAREST}));
    controls.process(keysHeld({Key::F5}), 0.016f, front, up, 13.5);
    EXPECT_EQ(controls.mipmapMode(), 1);
    EXPECT_EQ(controls.filters(), (TextureFilters{GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST}));
}

TEST(KeyControls, FilterTable)
{
    EXPECT_EQ(filtersFor(1, true), (TextureFilters{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}));
    EXPECT_EQ(filtersFor(-1, true), (TextureFilters{GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR}));
    EXPECT_EQ(filtersFor(0, true), (TextureFilters{GL_LINEAR, GL_LINEAR}));
    EXPECT_EQ(filtersFor(1, false), (TextureFilters{GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST}));
}

TEST(CameraRig, ThePigFacesTheWayWMovesItForEveryYaw)
{
    BareModel pig;
    CameraRig rig(pig);
    KeyControls controls(0.0);
    rig.mouseLook(0.0f, 0.0f, true);
    float x = 0.0f;
    for (int turn = 0; turn < 12; ++turn) {
        x -= 700.0f; // 35 degrees further each time
        rig.mouseLook(x, 0.0f, false);
        const auto step = controls.process(keysHeld({Key::W}), 0.1f, rig.getFront(), rig.getUp(), 0.0);
        // The nose is +z in the pig's file.
        const glm::vec3 nose = glm::vec3(rig.headingPose() * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
        expectNear(nose, glm::normalize(step.displacement));
    }
}

TEST(CameraRig, CullingKeepsEverythingTheDrawnViewShowsHoweverTheViewTilts)
{
    // With culling on, the view looks upward (the added 0.7 in the front), and
    // pitched up or down it is tilted away from (0, 1, 0). Every point inside
    // the drawn projection, from its near plane to its far one, must survive
    // the frustum the renderer builds for that pass.
    using Skyhog::Helper::Frustum;
    BareModel pig;
    place(pig);
    const float aspect = 1024.0f / 768.0f;
    const glm::mat4 projection = SceneLens::projection(aspect);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> across(-0.98f, 0.98f);
    std::uniform_real_distribution<float> depth(SceneLens::Near * 1.05f, SceneLens::Far * 0.98f);
    for (const float pitch : {-60.0f, -30.0f, 0.0f, 30.0f, 60.0f}) {
        CameraRig rig(pig);
        rig.setCullingView(true);
        rig.mouseLook(0.0f, 0.0f, true);
        rig.mouseLook(-300.0f, pitch / CameraRig::MouseSensitivity, false); // yaw -75
        rig.update();
        for (const char* pass : {"main", "reflection", "refraction", "map"}) {
            SCOPED_TRACE(std::string(pass) + " at pitch " + std::to_string(pitch));
            Frustum frustum(1024.0f, 768.0f);
            SceneLens::setCullingLens(frustum, aspect);
            SceneLens::aimFrustum(frustum, rig.eyeFor(pass, Lamp));
            const glm::mat4 toWorld = glm::inverse(rig.viewFor(pass, Lamp));
            int rejected = 0;
            for (int i = 0; i < 2000; ++i) {
                // A point of the drawn view: across its width and height, at some distance.
                const float d = depth(random);
                const glm::vec4 seen(across(random) * d / projection[0][0], across(random) * d / projection[1][1], -d,
                                     1.0f);
                const glm::vec3 point(toWorld * seen);
                if (frustum.test(glm::mat4(1.0f), point, point) == Frustum::Outside) ++rejected;
            }
            EXPECT_EQ(rejected, 0);
            // Still a frustum: what lies behind the eye goes.
            const glm::vec3 behind(toWorld * glm::vec4(0.0f, 0.0f, 5.0f, 1.0f));
            EXPECT_EQ(frustum.test(glm::mat4(1.0f), behind, behind), Frustum::Outside);
        }
    }
}

TEST(WingFlap, TheWingTipsRiseAndFallAtEveryHeading)
{
    // Wing tips like the generated wings': far out to each side, above the body axis.
    const glm::vec4 leftTip(6.85f, 3.8f, 0.4f, 1.0f), rightTip(-6.85f, 3.8f, 0.4f, 1.0f);
    BareModel pig;
    CameraRig rig(pig);
    rig.mouseLook(0.0f, 0.0f, true);
    float x = 0.0f;
    for (const float heading : {0.0f, 90.0f, 180.0f}) {
        SCOPED_TRACE("heading " + std::to_string(heading));
        rig.mouseLook(x, 0.0f, false);
        x -= 90.0f / CameraRig::MouseSensitivity; // the next heading is a quarter turn on
        const glm::mat4 pose = rig.headingPose();
        const glm::vec3 forward(pose * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
        expectNear(forward, {std::sin(glm::radians(heading)), 0.0f, std::cos(glm::radians(heading))});

        // From one end of the swing to the other.
        WingFlap flap;
        while (flap.count() <= WingFlap::Limit) flap.advance();
        const glm::mat4 leftUp = flap.leftPose(pose), rightUp = flap.rightPose(pose);
        EXPECT_NEAR(flap.leftDegrees(), 2.55f, 1e-4f);
        while (flap.count() >= -WingFlap::Limit) flap.advance();
        EXPECT_NEAR(flap.leftDegrees(), -2.55f, 1e-4f);
        for (const auto& [tip, up, down] :
             {std::tuple{leftTip, leftUp, flap.leftPose(pose)}, std::tuple{rightTip, rightUp, flap.rightPose(pose)}}) {
            const glm::vec3 travel(up * tip - down * tip);
            EXPECT_GT(std::abs(travel.y), 0.5f) << "the tip does not rise and fall";
            EXPECT_NEAR(glm::dot(travel, forward), 0.0f, 1e-4f) << "the tip swings forward and back";
        }
    }
}
