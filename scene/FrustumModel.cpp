// The frustum test for a loaded model, kept apart from Frustum.cpp so the
// culling maths builds without the renderer.
#include "scene/Frustum.h"

#include "render/Model.h"

namespace Skyhog::Helper {

int Frustum::test(Scene::Model& model) const
{
    // Other code reads the model's remembered world corners (size, centre).
    model.worldMin();
    model.worldMax();
    return test(model.modelMatrix(), glm::vec3(model.localMin()), glm::vec3(model.localMax()));
}

} // namespace Skyhog::Helper
