// What a falling drop lands on: the island's sand where it stands above the
// sea, the sea surface everywhere else. No OpenGL, so the stream's logic and
// its tests use it directly.
//
// The sand is sampled once, at construction, from the island's triangles
// (world-space corners) onto a square grid; a query interpolates the four
// grid points around it, so the surface is continuous across the shore.
#pragma once
#include <glm/vec3.hpp>

#include <span>
#include <vector>

namespace Skyhog::Game {

class Ground {
public:
    // Nothing but the sea, at seaLevel.
    explicit Ground(float seaLevel);
    // The triangles' highest point at each grid point, every cellSize world
    // units over their extent, and the sea at seaLevel. triangles holds three
    // corners per triangle; a trailing incomplete triangle is ignored. Very
    // large extents are sampled more coarsely, so the grid stays bounded.
    Ground(std::span<const glm::vec3> triangles, float seaLevel, float cellSize = 0.25f);

    // The height a drop falling at (x, z) lands on: the sand's or the sea's, whichever is higher.
    float surfaceAt(float x, float z) const;
    // True where the drop lands in the sea.
    bool seaAt(float x, float z) const { return surfaceAt(x, z) <= seaLevel_; }
    float seaLevel() const { return seaLevel_; }

    // The most grid points along one side.
    static constexpr int MaxSide = 1024;

private:
    float heightAt(int column, int row) const;

    float seaLevel_;
    float originX_ = 0.0f, originZ_ = 0.0f; // world position of grid point (0, 0)
    float cell_ = 1.0f;
    int columns_ = 0, rows_ = 0;
    std::vector<float> heights_; // rows_ x columns_, the sea level where no triangle lies
};

} // namespace Skyhog::Game
