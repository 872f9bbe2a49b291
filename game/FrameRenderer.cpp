#include "game/FrameRenderer.h"

#include "game/HitTest.h"
#include "game/SceneLens.h"
#include "render/DataPaths.h"
#include "render/Fatal.h"
#include "render/RenderPass.h"
#include "render/SceneLayout.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <iostream>

namespace Skyhog::Game {
namespace {

const std::string FontPath = DataRoot + "Models/arial.ttf";

// A hit's points, over the person: larger than the score, in gold with a
// dark shadow down and to the right (text units).
const std::string PopupText = "+10";
constexpr float PopupScale = 1.0f;
constexpr glm::vec3 PopupColour(1.0f, 0.85f, 0.2f);
constexpr glm::vec3 PopupShadowColour(0.12f, 0.06f, 0.02f);
constexpr glm::vec2 PopupShadow(2.0f, -2.0f);
constexpr float PopupAboveHead = 1.0f; // world units: clear of the splash on the person

// The pause line, centred across the 800 x 600 text space in the sky above
// the pig, white over the "+10"s' dark shadow so that it reads on clouds too.
const std::string PauseText = "Paused - click to play";
constexpr float PauseScale = 0.9f;
constexpr float PauseBaseline = 430.0f;
constexpr glm::vec3 PauseColour(1.0f, 1.0f, 1.0f);

// The view with its translation removed: only the turn stays.
glm::mat4 withoutTranslation(const glm::mat4& view)
{
    return glm::mat4(glm::mat3(view));
}

glm::vec4 clipPlaneFor(std::string_view pass)
{
    using Scene::Layout::WaterLevel;
    if (pass == RenderPass::Reflection) return {0.0f, 1.0f, 0.0f, -WaterLevel}; // keep what is above the water
    if (pass == RenderPass::Refraction) return {0.0f, -1.0f, 0.0f, WaterLevel}; // keep what is below it
    return {0.0f, -1.0f, 0.0f, 10000.0f};                                       // keep everything
}

} // namespace

FrameRenderer::FrameRenderer(const WindowSize& windowSize, FlightCamera& camera, Scene::World& world,
                             const ShaderLibrary& shaders, ParticleStream& particles)
    : windowSize_(windowSize), camera_(camera), world_(world), shaders_(shaders), particles_(particles),
      shadowMap_(*shaders.get("DebugDepth"), windowSize.getWidth(), windowSize.getHeight()), lamp_(world.lamp()),
      fpsText_(shaders.get("Text"), FontPath),
      mapBuffer_(*shaders.get("Map"), windowSize.getHeight(), windowSize.getWidth()), rig_(camera.getRig()),
      frustum_(static_cast<float>(windowSize.getWidth()), static_cast<float>(windowSize.getHeight())),
      aspect_(static_cast<float>(windowSize.getWidth()) / static_cast<float>(windowSize.getHeight())),
      skyBox_(world.skyBox()), scoreText_(shaders.get("Text"), FontPath)
{
    SceneLens::setCullingLens(frustum_, aspect_);
    popupHalfWidth_ = 0.5f * scoreText_.width(PopupText, PopupScale);
    pauseLineX_ = 400.0f - 0.5f * scoreText_.width(PauseText, PauseScale);
    projection_ = SceneLens::projection(aspect_);
    skyProjection_ = glm::perspective(1.0f, aspect_, 0.1f, 100.0f);
    // The light looks straight down; without its translation the shadow box is
    // a 100-unit cube centred on the world origin.
    lightSpace_ = glm::ortho(-50.0f, 50.0f, -50.0f, 50.0f, -50.0f, 50.0f) * withoutTranslation(camera_.lightView());
    visibleModels_.reserve(world.sceneModels().size());
    peopleBoxes_.reserve(world.people().size());
}

void FrameRenderer::updateParticles()
{
    particles_.update(camera_.getDeltaTime());
    popups_.advance(camera_.getDeltaTime());
}

void FrameRenderer::showFps(const std::string& text)
{
    fpsText_.drawText(text, 550.0f, 770.0f, 0.5f, glm::vec3(0.3f, 0.7f, 0.9f));
}

void FrameRenderer::renderPass()
{
    const std::string_view pass = camera_.getPass();
    if (world_.people().empty()) running_ = false;

    rig_.update();
    const glm::mat4 view = camera_.viewFor();
    skyView_ = withoutTranslation(view);

    collectVisibleModels(pass);
    if (pass != RenderPass::Shadow) {
        drawSky();
        drawIsland(pass, view);
    }
    if (!paused_) advanceWalkAndFlap();
    poseThePig();
    drawModels(pass, view);
    if (!camera_.freeFlight() && camera_.peeing() && (pass == RenderPass::Main || pass == RenderPass::Map)) {
        drawParticlesAndHit(view);
    }
    drawWater(pass, view);
    if (pass == RenderPass::Main) drawOverlays(view);
}

void FrameRenderer::collectVisibleModels(std::string_view pass)
{
    visibleModels_.clear();
    const bool cull = camera_.cullingOn() && !camera_.freeFlight() && pass != RenderPass::Shadow;
    if (cull) {
        // The frustum follows the camera this pass really uses.
        SceneLens::aimFrustum(frustum_, camera_.passEye());
    }
    for (Scene::Model* model : world_.sceneModels()) {
        if (!cull || frustum_.test(*model) != Helper::Frustum::Outside) visibleModels_.push_back(model);
    }
}

void FrameRenderer::drawSky()
{
    glDepthMask(GL_FALSE); // everything drawn later covers the sky
    const ShaderProgram& program = skyBox_.getShader();
    program.use();
    program.setMat4("view", skyView_);
    program.setMat4("projection", skyProjection_);
    skyBox_.draw();
    glDepthMask(GL_TRUE);
}

void FrameRenderer::setLitUniforms(const ShaderProgram& program, std::string_view pass, const glm::mat4& view) const
{
    program.setMat4("projection", projection_);
    program.setMat4("view", view);
    program.setMat4("lightSpaceMatrix", lightSpace_);
    program.setVec3("lightColor", lamp_.getColor());
    program.setVec4("clipPlane", clipPlaneFor(pass));
    program.setVec3("lightPos", lamp_.worldPosition());
}

void FrameRenderer::drawIsland(std::string_view pass, const glm::mat4& view)
{
    Scene::Island& island = world_.island();
    const ShaderProgram& program = *island.mainProgram();
    program.use();
    setLitUniforms(program, pass, view);
    const glm::vec3 position = rig_.getPosition();
    program.setVec3("cameraPos", glm::length(position) > 0.0f ? glm::normalize(position) : position);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, shadowMap_.getDepthTexture());
    if (!program.setSampler("shadowMap", 1)) note("Error: shadowMap");
    island.draw();
}

void FrameRenderer::advanceWalkAndFlap()
{
    // People walk back and forth while the shared counter stays within 0..1000.
    if (walk_ > WalkLimit || walk_ < 0.0f) {
        walkStep_ = -walkStep_;
        walkDir_ = -walkDir_;
    }
    flap_.advance();
}

void FrameRenderer::walkOnce(Scene::Model& person, const glm::vec3& offset)
{
    if (paused_) return;
    walk_ += static_cast<float>(walkDir_);
    person.translate(offset);
}

void FrameRenderer::poseThePig()
{
    // The pig faces the way W moves it, whatever the yaw; in free flight it
    // keeps the heading it had. The wings flap about its body before turning with it.
    if (!camera_.freeFlight()) heading_ = rig_.headingPose();
    world_.pig().setPose(heading_);
    world_.leftWing().setPose(flap_.leftPose(heading_));
    world_.rightWing().setPose(flap_.rightPose(heading_));
}

void FrameRenderer::drawModels(std::string_view pass, const glm::mat4& view)
{
    const glm::vec3 walkOffset(walkStep_, 0.0f, 0.0f);
    if (pass == RenderPass::Shadow) {
        const ShaderProgram& depth = *shaders_.get("Depth");
        depth.use();
        depth.setMat4("lightSpaceMatrix", lightSpace_);
        for (Scene::Model* model : world_.sceneModels()) model->drawDepth();
        for (Scene::Model* person : world_.people()) {
            walkOnce(*person, walkOffset);
            person->drawDepth();
        }
        return;
    }
    const ShaderProgram& program = *shaders_.get("Shadow");
    program.use();
    setLitUniforms(program, pass, view);
    glActiveTexture(GL_TEXTURE1);
    program.setInt("shadowMap", 1);
    glBindTexture(GL_TEXTURE_2D, shadowMap_.getDepthTexture());
    for (Scene::Model* model : visibleModels_) model->draw();
    for (Scene::Model* person : world_.people()) {
        walkOnce(*person, walkOffset);
        person->draw();
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
}

void FrameRenderer::drawParticlesAndHit(const glm::mat4& view)
{
    const ShaderProgram& program = *particles_.program();
    program.use();
    program.setMat4("projection", projection_);
    program.setMat4("view", view);
    // The camera's right and up in world space are the rows of the view's turn.
    program.setVec3("cameraRight_worldspace", glm::vec3(skyView_[0][0], skyView_[1][0], skyView_[2][0]));
    program.setVec3("cameraUp_worldspace", glm::vec3(skyView_[0][1], skyView_[1][1], skyView_[2][1]));
    particles_.draw();
    if (!paused_) hitTest();
}

void FrameRenderer::hitTest()
{
    std::vector<Scene::Model*>& people = world_.people();
    if (people.empty()) return;
    Scene::Model& pig = world_.pig();
    const Box pigBox = boxFromCorners(pig.worldMin(), pig.worldMax());
    peopleBoxes_.clear();
    for (Scene::Model* person : people) peopleBoxes_.push_back(boxFromCorners(person->worldMin(), person->worldMax()));

    const auto hit = findHit(pigBox, peopleBoxes_, particles_.recordedPositions(), std::cout);
    if (!hit) return;
    std::cout.flush();
    camera_.getSoundEngine().play2D(DataRoot + "Sounds/pain.mp3", false);
    score_ += 10;
    // The player sees the hit where it happened: a splash on the person and
    // the points rising from the head.
    const Box& person = peopleBoxes_[*hit];
    const glm::vec3 middle = (person.min + person.max) * 0.5f;
    particles_.burst(middle);
    popups_.start(glm::vec3(middle.x, person.max.y + PopupAboveHead, middle.z));
    world_.removePerson(people[*hit]);
}

void FrameRenderer::drawWater(std::string_view pass, const glm::mat4& view)
{
    if (pass == RenderPass::Main && camera_.waterDebug()) mapBuffer_.draw();
    if (pass != RenderPass::Main && pass != RenderPass::Map) return;
    Scene::Water& water = world_.water();
    const ShaderProgram& program = *water.mainProgram();
    program.use();
    program.setMat4("projection", projection_);
    program.setMat4("view", view);
    program.setVec3("cameraPos", rig_.getPosition());
    program.setVec3("lightPos", lamp_.worldPosition());
    // Swings between -0.01 and 0.01 with a period of 2 pi seconds.
    program.setFloat("moveFactor", 0.01f * std::sin(static_cast<float>(frameTime_)));
    // The sea receives the lamp's shadows too, from a unit the water's own
    // pictures leave free. Like them it stays bound after the draw.
    program.setMat4("lightSpaceMatrix", lightSpace_);
    program.setInt("shadowMap", WaterShadowUnit);
    glActiveTexture(GL_TEXTURE0 + WaterShadowUnit);
    glBindTexture(GL_TEXTURE_2D, shadowMap_.getDepthTexture());
    glActiveTexture(GL_TEXTURE0);
    water.draw();
}

void FrameRenderer::drawOverlays(const glm::mat4& view)
{
    if (camera_.shadowDebug()) {
        shadowMap_.drawDebug();
    } else if (camera_.waterDebug()) {
        world_.water().drawReflectionDebug();
        world_.water().drawRefractionDebug();
    }
    scoreText_.drawText("Points: " + std::to_string(score_), 50.0f, 50.0f, 0.7f, glm::vec3(1.0f, 0.7f, 0.3f));
    if (paused_) {
        glDepthMask(GL_FALSE);
        drawShadowed(PauseText, glm::vec2(pauseLineX_, PauseBaseline), PauseScale, PauseColour, 1.0f);
        glDepthMask(GL_TRUE);
    }

    // Each hit's "+10", centred over where the person stood, rising and
    // fading, over a dark shadow so that it reads on sand and sea alike.
    const glm::mat4 viewProjection = projection_ * view;
    if (popups_.count() == 0) return;
    // The shadow must not keep the text out of its own pixels: no depth writes.
    glDepthMask(GL_FALSE);
    for (int i = 0; i < popups_.count(); ++i) {
        const auto shown = popups_.shown(i, viewProjection);
        if (!shown) continue;
        const glm::vec2 at = shown->textPoint - glm::vec2(popupHalfWidth_, 0.0f);
        drawShadowed(PopupText, at, PopupScale, PopupColour, shown->opacity);
    }
    glDepthMask(GL_TRUE);
}

void FrameRenderer::drawShadowed(const std::string& text, glm::vec2 at, float scale, glm::vec3 colour, float opacity)
{
    scoreText_.drawText(text, at.x + PopupShadow.x, at.y + PopupShadow.y, scale, PopupShadowColour, 0.8f * opacity);
    scoreText_.drawText(text, at.x, at.y, scale, colour, opacity);
}

} // namespace Skyhog::Game
