#include "game/HitTest.h"

#include <glm/common.hpp>

namespace Skyhog::Game {

Box boxFromCorners(const glm::vec4& a, const glm::vec4& b)
{
    return Box{glm::min(glm::vec3(a), glm::vec3(b)), glm::max(glm::vec3(a), glm::vec3(b))};
}

std::optional<std::size_t> findHit(const Box& pig, std::span<const Box> people, std::span<const glm::vec3> positions,
                                   std::ostream& log)
{
    for (std::size_t i = 0; i < people.size(); ++i) {
        const Box& person = people[i];
        if (!(person.min.z <= pig.max.z + 4.0f && person.max.z >= pig.min.z - 6.0f)) continue;
        log << " same depth ";
        for (const glm::vec3& p : positions) {
            const bool insideX = person.min.x <= p.x && p.x <= person.max.x;
            const bool insideZ = person.min.z <= p.z && p.z <= person.max.z;
            if (insideX && insideZ && p.y <= person.max.y) {
                log << "totally hit that person";
                return i;
            }
        }
    }
    return std::nullopt;
}

} // namespace Skyhog::Game
