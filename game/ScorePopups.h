// The "+10" that rises from a person who was hit and fades within a second.
// Logic only, no OpenGL: where each one is in the world, how far it has
// risen and faded, and where that lands in the text renderer's 800 x 600
// space for a given view. FrameRenderer draws them with the score's font.
#pragma once
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <array>
#include <optional>

namespace Skyhog::Game {

class ScorePopups {
public:
    static constexpr float Lifetime = 1.0f;  // seconds
    static constexpr float RiseSpeed = 1.5f; // world units per second
    static constexpr int MaxPopups = 8;      // more at once and the oldest gives way

    // A new popup at a world point (the person's head).
    void start(const glm::vec3& at);
    // Ages every popup by deltaTime seconds; the faded ones go.
    void advance(float deltaTime);

    int count() const { return count_; }

    struct Shown {
        glm::vec2 textPoint{0.0f}; // in text space: x 0..800 from the left, y 0..600 from the bottom
        float opacity = 0.0f;      // 1 at the start, 0 once faded
    };
    // Popup i as the camera sees it, or nothing when it lies behind the eye.
    std::optional<Shown> shown(int i, const glm::mat4& viewProjection) const;

    // Where a world point lands in text space, or nothing behind the eye.
    static std::optional<glm::vec2> toTextSpace(const glm::mat4& viewProjection, const glm::vec3& world);

private:
    struct Popup {
        glm::vec3 at{0.0f};
        float age = 0.0f;
    };
    std::array<Popup, MaxPopups> popups_{};
    int count_ = 0; // the first count_ entries are alive, oldest first
};

} // namespace Skyhog::Game
