// The player's camera and controls: turns held keys into movement of the pig
// (or, in free flight, of the viewpoint alone), keeps the debug toggles, and
// gives each render pass its view matrix from the pass name the frame loop
// sets. Owns its CameraRig and the sound engine that plays the sea loop and
// the pain effect.
//
// Per frame: tick(now), then the input callbacks (onCursor), then
// processKeys(), then setPass()/viewFor() for each pass.
#pragma once
#include "audio/SoundEngine.h"
#include "game/CameraRig.h"
#include "game/KeyControls.h"
#include "game/ParticleStream.h"
#include "render/WindowSize.h"
#include "scene/World.h"

#include <memory>
#include <string_view>

namespace Skyhog::Game {

class FlightCamera {
public:
    // Starts the looped sea sound on a sound engine of its own; without any
    // engine the game cannot run ("ERROR Sound not available", exit 1).
    // now: the clock in seconds, for the filter keys' timer.
    FlightCamera(const WindowSize& windowSize, Scene::Model& pig, Scene::World& world, ParticleStream& particles,
                 double now);
    ~FlightCamera() = default; // its sound engine stops the sea sound
    FlightCamera(const FlightCamera&) = delete;
    FlightCamera& operator=(const FlightCamera&) = delete;

    // Takes the frame's time; deltaTime becomes now minus the previous call's time.
    void tick(float now);
    // Applies the held keys for this frame (movement, pee flag, toggles, filters).
    void processKeys(const KeyState& keys, double now);
    // Mouse look; returns the new first-cursor flag (always false).
    bool onCursor(double x, double y, bool first);
    // Turns the view as a cursor moved by these offsets would (the gamepad's look).
    void turn(float xOffset, float yOffset) { rig_.turn(xOffset, yOffset); }
    // Scrolling does nothing.
    void onScroll(double yOffset);

    void setPass(std::string_view pass) { pass_ = pass; }
    std::string_view getPass() const { return pass_; }
    // The view of the current pass; lightView() is the lamp's view whatever the pass.
    glm::mat4 viewFor() const;
    glm::mat4 lightView() const;
    // Where the current pass looks from.
    PassEye passEye() const;

    float getDeltaTime() const { return deltaTime_; }
    CameraRig& getRig() { return rig_; }
    const CameraRig& getRig() const { return rig_; }
    glm::vec3 getPosition() const { return rig_.getPosition(); }
    bool freeFlight() const { return controls_.freeFlight(); }
    bool peeing() const { return controls_.peeing(); }
    bool shadowDebug() const { return controls_.shadowDebug(); }
    bool waterDebug() const { return controls_.waterDebug(); }
    bool cullingOn() const { return controls_.cullingOn(); }
    bool wireframe() const { return controls_.wireframe(); }
    const KeyControls& controls() const { return controls_; }
    Audio::SoundEngine& getSoundEngine() { return *soundEngine_; }
    // The looped sea sound started at construction.
    Audio::SoundHandle waveSound() const { return waveSound_; }

private:
    float deltaTime_ = 0.0f;
    float lastFrame_ = 0.0f;
    const WindowSize& windowSize_;
    Scene::Model& pig_;
    Scene::World& world_;
    ParticleStream& particles_;
    std::unique_ptr<Audio::SoundEngine> soundEngine_;
    Audio::SoundHandle waveSound_;
    KeyControls controls_;
    CameraRig rig_;
    std::string_view pass_;
};

} // namespace Skyhog::Game
