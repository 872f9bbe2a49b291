// A stand-in for the pig model: only its model matrix, so the camera logic is
// tested without a GL context, a file or the renderer.
#pragma once
#include "render/Placed.h"
#include "render/SceneLayout.h"

#include <glm/gtc/matrix_transform.hpp>

namespace SkyhogTest {

class BareModel : public Skyhog::Scene::Placed {
public:
    glm::mat4 modelMatrix() const override { return matrix_; }

    // Places it as the world places a model: the scene's prefix, then offset and scale.
    void place(const glm::vec3& offset, float scale)
    {
        namespace Layout = Skyhog::Scene::Layout;
        const glm::mat4 prefix =
            glm::scale(glm::translate(glm::mat4(1.0f), Layout::ModelPrefixOffset), glm::vec3(Layout::ModelPrefixScale));
        matrix_ = glm::scale(glm::translate(prefix, offset), glm::vec3(scale));
    }

private:
    glm::mat4 matrix_{1.0f};
};

} // namespace SkyhogTest
