#include "game/KeyControls.h"

#include <glm/geometric.hpp>

#include <cmath>

namespace Skyhog::Game {
namespace {

// Direction in the horizontal plane; zero when v has no horizontal part.
glm::vec3 horizontal(const glm::vec3& v)
{
    const glm::vec3 flat(v.x, 0.0f, v.z);
    const float length = glm::length(flat);
    return length > 1e-6f ? flat / length : glm::vec3(0.0f);
}

} // namespace

TextureFilters filtersFor(int mipmapMode, bool linearFiltering)
{
    namespace F = TextureFilter;
    switch (mipmapMode) {
    case MipmapMode::Linear:
        return linearFiltering ? TextureFilters{F::LinearMipmapLinear, F::Linear}
                               : TextureFilters{F::NearestMipmapLinear, F::Nearest};
    case MipmapMode::Nearest:
        return linearFiltering ? TextureFilters{F::LinearMipmapNearest, F::Linear}
                               : TextureFilters{F::NearestMipmapNearest, F::Nearest};
    default: return linearFiltering ? TextureFilters{F::Linear, F::Linear} : TextureFilters{F::Nearest, F::Nearest};
    }
}

KeyControls::KeyControls(double now) : lastToggle_(static_cast<int>(now)) {}

bool KeyControls::pressed(const KeyState& keys, int key)
{
    const bool down = keys[key] && !previous_[key];
    previous_[key] = keys[key];
    return down;
}

KeyControls::Step KeyControls::process(const KeyState& keys, float deltaTime, const glm::vec3& front,
                                       const glm::vec3& up, double now)
{
    Step step;
    const float speed = deltaTime * Speed;
    peeing_ = false;

    const glm::vec3 forward = horizontal(front);
    const glm::vec3 left = horizontal(glm::cross(up, front));
    if (keys[Key::W]) step.displacement += speed * forward;
    if (keys[Key::S]) step.displacement -= speed * forward;
    if (keys[Key::A]) step.displacement += speed * left;
    if (keys[Key::D]) step.displacement -= speed * left;

    if (keys[Key::Space]) peeing_ = true;

    if (pressed(keys, Key::F1)) freeFlight_ = !freeFlight_;
    if (pressed(keys, Key::F3)) {
        wireframe_ = !wireframe_;
        step.wireframeChanged = true;
    }

    if (keys[Key::F4] && now - lastToggle_ > 1.0) {
        linearFiltering_ = !linearFiltering_;
        filters_ = filtersFor(mipmapMode_, linearFiltering_);
        step.filtersChanged = true;
        lastToggle_ = static_cast<int>(now);
    }
    if (keys[Key::F5] && now - lastToggle_ > 1.0) {
        mipmapMode_ = mipmapMode_ == MipmapMode::None ? MipmapMode::Linear
            : mipmapMode_ == MipmapMode::Linear       ? MipmapMode::Nearest
                                                      : MipmapMode::None;
        filters_ = filtersFor(mipmapMode_, linearFiltering_);
        step.filtersChanged = true;
        lastToggle_ = static_cast<int>(now);
    }

    if (pressed(keys, Key::F6)) shadowDebug_ = !shadowDebug_;
    if (pressed(keys, Key::F7)) waterDebug_ = !waterDebug_;
    if (pressed(keys, Key::F8)) cullingOn_ = !cullingOn_;
    return step;
}

} // namespace Skyhog::Game
