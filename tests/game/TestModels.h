// A model with no meshes: only the matrices and the box, so camera, particle
// and hit logic can be tested without a GL context or any file.
#pragma once
#include "render/Model.h"

namespace SkyhogTest {

class BareModel : public Skyhog::Scene::Model {
public:
    BareModel() : Model(glm::mat4(1.0f), nullptr, nullptr) {}
    BareModel(const glm::vec3& boxMin, const glm::vec3& boxMax) : BareModel() { setLocalBox(boxMin, boxMax); }
};

} // namespace SkyhogTest
