// What a follower needs of a scene object: the matrix that places it in the
// world. Model implements it; the camera rig holds its pig through it, so the
// camera logic builds and is tested without OpenGL.
#pragma once
#include <glm/mat4x4.hpp>

namespace Skyhog::Scene {

class Placed {
public:
    // The matrix stored by the object's last draw or matrix update.
    virtual glm::mat4 modelMatrix() const = 0;

protected:
    ~Placed() = default;
};

} // namespace Skyhog::Scene
