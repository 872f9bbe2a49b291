#include "scene/Lamp.h"

#include <glm/vec4.hpp>

namespace Skyhog::Scene {

Lamp::Lamp(const glm::mat4& modelMatrix, ShaderProgram* program) : modelMatrix_(modelMatrix), program_(program) {}

Lamp::~Lamp() = default;

glm::vec3 Lamp::worldPosition() const
{
    return glm::vec3(placement_ * glm::vec4(position_, 1.0f));
}

} // namespace Skyhog::Scene
