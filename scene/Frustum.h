// View-frustum culling for the scene passes. The lens is set once; update()
// rebuilds the eight corners and six outward-facing planes from the viewer at
// the start of every pass; test() then says whether a model can be skipped.
//
// A model is rejected only when all eight corners of its loaded bounding box,
// carried by its stored model matrix, lie strictly on the outer side of one
// and the same plane, so nothing that reaches the screen is ever culled (a box
// may still be kept although it is off screen). Before the first update() the
// planes are degenerate and nothing is rejected. No OpenGL is used here.
#pragma once
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <array>

namespace Skyhog::Scene {
class Model;
}

namespace Skyhog::Helper {

class Frustum {
public:
    static constexpr int Outside = 0; // certainly off screen: skip the model
    static constexpr int Inside = 2;  // possibly on screen: draw it

    // A plane through the frustum; distance() > 0 on its outer side (normal not unit length).
    struct Plane {
        glm::vec3 normal{0.0f};
        float offset = 0.0f;
        float distance(const glm::vec3& point) const;
    };
    enum PlaneIndex { Top, Bottom, Right, Left, Near, Far };

    // The window size is kept for reference; the lens comes from setLens().
    Frustum(float width, float height);
    virtual ~Frustum();

    // Vertical opening angle in degrees, width / height, near and far distances from the eye.
    void setLens(float angle, float ratio, float nearDistance, float farDistance);
    // Rebuilds corners and planes; up and right span the view's vertical and horizontal edges (used as given).
    void update(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& up, const glm::vec3& right);

    // Outside when the box [localMin, localMax] carried by modelMatrix lies beyond one plane, else Inside.
    int test(const glm::mat4& modelMatrix, const glm::vec3& localMin, const glm::vec3& localMax) const;
    // The same for a model's loaded box and stored matrix; also refreshes the world corners it remembers
    // (defined in FrustumModel.cpp, with the scene library).
    int test(Scene::Model& model) const;

    // Near corners then far corners, each top right, top left, bottom right, bottom left.
    const std::array<glm::vec3, 8>& corners() const { return corners_; }
    // Top, bottom, right, left, near, far.
    const std::array<Plane, 6>& planes() const { return planes_; }
    float width() const { return width_; }
    float height() const { return height_; }

private:
    float width_;
    float height_;
    float angle_ = 0.0f;
    float ratio_ = 0.0f;
    float nearDistance_ = 0.0f;
    float farDistance_ = 0.0f;
    float tangent_ = 0.0f;
    float nearHalfHeight_ = 0.0f;
    float nearHalfWidth_ = 0.0f;
    float farHalfHeight_ = 0.0f;
    float farHalfWidth_ = 0.0f;
    std::array<glm::vec3, 8> corners_{};
    std::array<Plane, 6> planes_{};
};

} // namespace Skyhog::Helper
