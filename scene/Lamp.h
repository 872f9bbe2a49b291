// The scene's single light: a white point light fixed high above the sea at
// (0, 200, -30). It has no geometry, is never drawn and owns no GL objects;
// the renderer feeds its position and colour to the lighting uniforms and the
// camera builds the shadow pass's view from its position.
#pragma once
#include "render/ShaderProgram.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace Skyhog::Scene {

class Lamp {
public:
    // Keeps the matrix and the program (not owned); neither affects the light.
    Lamp(const glm::mat4& modelMatrix, ShaderProgram* program);
    virtual ~Lamp();

    // Where the light is in the world: placement times the fixed position.
    glm::vec3 worldPosition() const;
    // The light's colour, uploaded as "lightColor".
    glm::vec3 getColor() const { return color_; }
    const glm::mat4& modelMatrix() const { return modelMatrix_; }
    ShaderProgram* program() const { return program_; }

private:
    glm::vec3 position_{0.0f, 200.0f, -30.0f};
    glm::vec3 color_{1.0f, 1.0f, 1.0f};
    glm::mat4 placement_{1.0f};
    glm::mat4 modelMatrix_;
    ShaderProgram* program_;
};

} // namespace Skyhog::Scene
