#include "scene/Frustum.h"

#include <glm/geometric.hpp>
#include <glm/vec4.hpp>

#include <algorithm>
#include <cmath>

namespace Skyhog::Helper {
namespace {

// The plane through a, b and c; its normal follows the right-hand rule.
Frustum::Plane planeThrough(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c)
{
    Frustum::Plane plane;
    plane.normal = glm::cross(b - a, c - a);
    plane.offset = -glm::dot(plane.normal, a);
    return plane;
}

} // namespace

float Frustum::Plane::distance(const glm::vec3& point) const
{
    return glm::dot(normal, point) + offset;
}

Frustum::Frustum(float width, float height) : width_(width), height_(height) {}

Frustum::~Frustum() = default;

void Frustum::setLens(float angle, float ratio, float nearDistance, float farDistance)
{
    angle_ = angle;
    ratio_ = ratio;
    nearDistance_ = nearDistance;
    farDistance_ = farDistance;
    tangent_ = std::tan(angle * 0.5f * 0.017453292f); // half the opening, in radians
    nearHalfHeight_ = nearDistance * tangent_;
    nearHalfWidth_ = nearHalfHeight_ * ratio;
    farHalfHeight_ = farDistance * tangent_;
    farHalfWidth_ = farHalfHeight_ * ratio;
}

void Frustum::update(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& up, const glm::vec3& right)
{
    // Z points from the target back to the eye; the view looks along -Z.
    const glm::vec3 z = glm::normalize(eye - target);
    const glm::vec3 nearCentre = eye - z * nearDistance_;
    const glm::vec3 farCentre = eye - z * farDistance_;

    const glm::vec3 nearUp = up * nearHalfHeight_;
    const glm::vec3 nearRight = right * nearHalfWidth_;
    const glm::vec3 farUp = up * farHalfHeight_;
    const glm::vec3 farRight = right * farHalfWidth_;
    corners_ = {nearCentre + nearUp + nearRight, nearCentre + nearUp - nearRight, nearCentre - nearUp + nearRight,
                nearCentre - nearUp - nearRight, farCentre + farUp + farRight,    farCentre + farUp - farRight,
                farCentre - farUp + farRight,    farCentre - farUp - farRight};

    // Corner triples wound so that every normal points out of the volume.
    const auto& c = corners_;
    planes_[Top] = planeThrough(c[1], c[0], c[4]);
    planes_[Bottom] = planeThrough(c[2], c[3], c[7]);
    planes_[Right] = planeThrough(c[0], c[2], c[6]);
    planes_[Left] = planeThrough(c[3], c[1], c[7]);
    planes_[Near] = planeThrough(c[0], c[1], c[3]);
    planes_[Far] = planeThrough(c[5], c[4], c[6]);
}

int Frustum::test(const glm::mat4& modelMatrix, const glm::vec3& localMin, const glm::vec3& localMax) const
{
    // All eight box corners: a turned box's two stored corners may both be
    // outside a plane while the box between them crosses the view.
    std::array<glm::vec3, 8> box;
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 local((i & 1) ? localMax.x : localMin.x, (i & 2) ? localMax.y : localMin.y,
                              (i & 4) ? localMax.z : localMin.z);
        box[static_cast<std::size_t>(i)] = glm::vec3(modelMatrix * glm::vec4(local, 1.0f));
    }
    for (const Plane& plane : planes_) {
        // A corner on the plane (distance 0) keeps the model.
        const bool allOutside =
            std::all_of(box.begin(), box.end(), [&](const glm::vec3& corner) { return plane.distance(corner) > 0.0f; });
        if (allOutside) return Outside;
    }
    return Inside;
}

} // namespace Skyhog::Helper
