#include "game/ScorePopups.h"

#include <glm/vec4.hpp>

#include <algorithm>
#include <cmath>

namespace Skyhog::Game {

void ScorePopups::start(const glm::vec3& at)
{
    if (count_ == MaxPopups) {
        std::move(popups_.begin() + 1, popups_.end(), popups_.begin());
        --count_;
    }
    popups_[static_cast<std::size_t>(count_++)] = Popup{at, 0.0f};
}

void ScorePopups::advance(float deltaTime)
{
    const float step = deltaTime > 0.0f && std::isfinite(deltaTime) ? deltaTime : 0.0f;
    for (int i = 0; i < count_; ++i) popups_[static_cast<std::size_t>(i)].age += step;
    const auto alive = std::remove_if(popups_.begin(), popups_.begin() + count_,
                                      [](const Popup& popup) { return popup.age >= Lifetime; });
    count_ = static_cast<int>(alive - popups_.begin());
}

std::optional<glm::vec2> ScorePopups::toTextSpace(const glm::mat4& viewProjection, const glm::vec3& world)
{
    const glm::vec4 clip = viewProjection * glm::vec4(world, 1.0f);
    if (!(clip.w > 1e-4f)) return std::nullopt;
    // Normalised device coordinates (-1..1 both ways, y up) stretched over 800 x 600.
    return glm::vec2((clip.x / clip.w + 1.0f) * 400.0f, (clip.y / clip.w + 1.0f) * 300.0f);
}

std::optional<ScorePopups::Shown> ScorePopups::shown(int i, const glm::mat4& viewProjection) const
{
    if (i < 0 || i >= count_) return std::nullopt;
    const Popup& popup = popups_[static_cast<std::size_t>(i)];
    const auto point = toTextSpace(viewProjection, popup.at + glm::vec3(0.0f, RiseSpeed * popup.age, 0.0f));
    if (!point) return std::nullopt;
    // Fully there for the first third, then fading out.
    const float t = popup.age / Lifetime;
    const float opacity = t < 1.0f / 3.0f ? 1.0f : std::max(0.0f, 1.0f - (t - 1.0f / 3.0f) * 1.5f);
    return Shown{*point, opacity};
}

} // namespace Skyhog::Game
