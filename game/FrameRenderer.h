// Draws one render pass each time the frame loop asks, choosing what to draw
// and with which program and uniforms from the camera's current pass name.
// Also holds the game state the passes change: the running flag, the score,
// the people's walk and the wings' flap, and the "+10" of each recent hit.
// Owns the shadow map, the map screen buffer, the view frustum and the two
// text renderers.
//
// Per pass, in order: sky box, island, scene models and people, particles and
// hit test, map quad and water, debug pictures, score and the hits' "+10"s
// (see renderPass()). A hit also starts a splash on the person.
// The caller binds the pass's target and clears it first.
#pragma once
#include "game/FlightCamera.h"
#include "game/HitTest.h"
#include "game/ParticleStream.h"
#include "game/ScorePopups.h"
#include "game/WingFlap.h"
#include "render/ScreenBuffer.h"
#include "render/ShaderLibrary.h"
#include "render/WindowSize.h"
#include "scene/Frustum.h"
#include "scene/ShadowMap.h"
#include "scene/World.h"
#include "ui/TextRenderer.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <string>
#include <vector>

namespace Skyhog::Game {

class FrameRenderer {
public:
    FrameRenderer(const WindowSize& windowSize, FlightCamera& camera, Scene::World& world, const ShaderLibrary& shaders,
                  ParticleStream& particles);
    ~FrameRenderer() = default;
    FrameRenderer(const FrameRenderer&) = delete;
    FrameRenderer& operator=(const FrameRenderer&) = delete;

    // Draws the camera's current pass into the bound, cleared target.
    void renderPass();
    // Draws the frames-per-second text where the fps line has always been
    // (above the text space's top edge, so it does not show).
    void showFps(const std::string& text);
    // Advances the particle stream and the hits' "+10"s by the camera's time step (once per frame).
    void updateParticles();
    // The frame's clock in seconds, for the water's moving distortion.
    void setFrameTime(double seconds) { frameTime_ = seconds; }
    // While paused the passes draw the world as it stands: the people do not
    // walk, the wings do not beat, the stream hits nobody, and the main pass
    // shows how to play on. (The particles and the time hold still because
    // the caller stops advancing them.)
    void setPaused(bool paused) { paused_ = paused; }
    bool paused() const { return paused_; }

    bool running() const { return running_; }
    int score() const { return score_; }
    GLuint getMapFramebuffer() const { return mapBuffer_.getFramebuffer(); }
    GLuint getShadowFramebuffer() const { return shadowMap_.getFramebuffer(); }
    const std::vector<Scene::Model*>& visibleModels() const { return visibleModels_; }
    // The "+10" of each recent hit, drawn over the main pass where the person was.
    const ScorePopups& popups() const { return popups_; }
    glm::mat4 projection() const { return projection_; }
    Helper::Frustum& frustum() { return frustum_; }

    static constexpr float WalkLimit = 1000.0f;
    // The texture unit of the shadow map in the water draw (the water's own pictures use 0 to 3).
    static constexpr int WaterShadowUnit = 4;

private:
    void collectVisibleModels(std::string_view pass);
    void drawSky();
    void setLitUniforms(const ShaderProgram& program, std::string_view pass, const glm::mat4& view) const;
    void drawIsland(std::string_view pass, const glm::mat4& view);
    void advanceWalkAndFlap();
    // One person's step of the walk (none while paused).
    void walkOnce(Scene::Model& person, const glm::vec3& offset);
    void poseThePig();
    void drawModels(std::string_view pass, const glm::mat4& view);
    void drawParticlesAndHit(const glm::mat4& view);
    void hitTest();
    void drawWater(std::string_view pass, const glm::mat4& view);
    void drawOverlays(const glm::mat4& view);
    // Text at (x, y) in text units over a dark shadow down and to the right,
    // so that it reads on sky, clouds, sand and sea alike. The caller keeps
    // depth writes off, or the shadow would keep the text out of its pixels.
    void drawShadowed(const std::string& text, glm::vec2 at, float scale, glm::vec3 colour, float opacity);

    const WindowSize& windowSize_;
    FlightCamera& camera_;
    Scene::World& world_;
    const ShaderLibrary& shaders_;
    ParticleStream& particles_;
    Scene::ShadowMap shadowMap_;
    Scene::Lamp& lamp_;
    Ui::TextRenderer fpsText_;
    ScreenBuffer mapBuffer_;
    CameraRig& rig_;
    bool running_ = true;
    bool paused_ = false;
    Helper::Frustum frustum_;
    float aspect_;
    int score_ = 0;
    std::vector<Scene::Model*> visibleModels_;
    Scene::SkyBox& skyBox_;
    float walk_ = 0.0f;
    float walkStep_ = 0.05f;
    int walkDir_ = 1;
    WingFlap flap_;
    glm::mat4 heading_{1.0f}; // the pig's last heading pose
    Ui::TextRenderer scoreText_;

    // Fixed for the whole run, so computed once.
    glm::mat4 projection_;
    glm::mat4 skyProjection_;
    glm::mat4 lightSpace_;
    glm::mat4 skyView_{1.0f};
    double frameTime_ = 0.0;
    std::vector<Box> peopleBoxes_; // reused by every hit test
    ScorePopups popups_;
    float popupHalfWidth_ = 0.0f; // half the "+10"'s width in text units, measured once
    float pauseLineX_ = 0.0f;     // where the centred pause line starts, measured once
};

} // namespace Skyhog::Game
