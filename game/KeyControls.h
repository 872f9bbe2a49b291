// Turns the held-key table into the player's intent for one frame: the
// movement displacement, the pee flag, the debug toggles and the texture
// filter choice. Pure logic, no OpenGL calls, so it is unit-tested directly.
//
// Toggle keys (F1, F3, F6, F7, F8) act once per press: a key held over many
// frames flips its flag only on the frame it goes down. F4 (texel filter)
// and F5 (mipmap mode) share a timer and act at most once per second while
// held, measured from the last action time truncated to whole seconds.
#pragma once
#include "game/KeyState.h"
#include "render/TextureFilter.h"

#include <glm/vec3.hpp>

namespace Skyhog::Game {

struct TextureFilters {
    int minFilter = TextureFilter::Linear;
    int magFilter = TextureFilter::Linear;
    bool operator==(const TextureFilters&) const = default;
};

// The mipmap modes F5 steps through: none, then linear, then nearest, then none again.
namespace MipmapMode {
inline constexpr int Linear = 1;
inline constexpr int Nearest = -1;
inline constexpr int None = 0;
} // namespace MipmapMode

// The filter pair for a mipmap mode and texel filter.
TextureFilters filtersFor(int mipmapMode, bool linearFiltering);

class KeyControls {
public:
    // Movement speed in model units per second along each held direction.
    static constexpr float Speed = 50.0f;

    // now: the clock (seconds) at construction; the filter timer starts there.
    explicit KeyControls(double now);

    struct Step {
        glm::vec3 displacement{0.0f};
        bool filtersChanged = false;
        bool wireframeChanged = false;
    };
    // Reads the keys for one frame. front and up are the camera's directions.
    Step process(const KeyState& keys, float deltaTime, const glm::vec3& front, const glm::vec3& up, double now);

    bool peeing() const { return peeing_; }
    bool freeFlight() const { return freeFlight_; }
    bool wireframe() const { return wireframe_; }
    bool shadowDebug() const { return shadowDebug_; }
    bool waterDebug() const { return waterDebug_; }
    bool cullingOn() const { return cullingOn_; }
    bool linearFiltering() const { return linearFiltering_; }
    int mipmapMode() const { return mipmapMode_; }
    TextureFilters filters() const { return filters_; }

private:
    bool pressed(const KeyState& keys, int key);

    bool peeing_ = false;
    bool freeFlight_ = false;
    bool wireframe_ = false;
    bool shadowDebug_ = false;
    bool waterDebug_ = false;
    bool cullingOn_ = false;
    bool linearFiltering_ = true;
    int mipmapMode_ = MipmapMode::Nearest;
    TextureFilters filters_;
    int lastToggle_;
    KeyState previous_{};
};

} // namespace Skyhog::Game
