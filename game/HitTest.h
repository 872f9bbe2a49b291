// Decides whether the pee stream hit a person. Pure logic on world-space
// boxes and particle positions, no OpenGL.
//
// A person is considered only when its depth range (z) overlaps the pig's,
// widened by 4 units ahead and 6 behind; each such person writes " same depth ".
// The person is hit when one of the given particle positions (the survivors of
// the latest update) lies inside the person's world box in x and z and at or
// below its top; that writes "totally hit that person" and ends the scan.
#pragma once
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <optional>
#include <ostream>
#include <span>

namespace Skyhog::Game {

struct Box {
    glm::vec3 min{0.0f};
    glm::vec3 max{0.0f};
};

// The box spanned by two opposite corners in any order.
Box boxFromCorners(const glm::vec4& a, const glm::vec4& b);

// Index of the first person hit, or nothing.
std::optional<std::size_t> findHit(const Box& pig, std::span<const Box> people, std::span<const glm::vec3> positions,
                                   std::ostream& log);

} // namespace Skyhog::Game
