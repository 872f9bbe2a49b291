#include "game/Ground.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Skyhog::Game {

Ground::Ground(float seaLevel) : seaLevel_(seaLevel) {}

Ground::Ground(std::span<const glm::vec3> triangles, float seaLevel, float cellSize) : seaLevel_(seaLevel)
{
    const std::size_t corners = triangles.size() / 3 * 3;
    if (corners == 0 || !(cellSize > 0.0f)) return;

    float minX = std::numeric_limits<float>::max(), minZ = minX;
    float maxX = std::numeric_limits<float>::lowest(), maxZ = maxX;
    for (std::size_t i = 0; i < corners; ++i) {
        minX = std::min(minX, triangles[i].x), maxX = std::max(maxX, triangles[i].x);
        minZ = std::min(minZ, triangles[i].z), maxZ = std::max(maxZ, triangles[i].z);
    }
    if (!std::isfinite(minX) || !std::isfinite(maxX) || !std::isfinite(minZ) || !std::isfinite(maxZ)) return;
    cell_ = std::max({cellSize, (maxX - minX) / (MaxSide - 1), (maxZ - minZ) / (MaxSide - 1)});
    originX_ = minX;
    originZ_ = minZ;
    columns_ = static_cast<int>(std::ceil((maxX - minX) / cell_)) + 1;
    rows_ = static_cast<int>(std::ceil((maxZ - minZ) / cell_)) + 1;
    heights_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), seaLevel);

    // Each triangle sets the grid points it covers, seen from above, to its
    // height there if that is higher than what they hold.
    for (std::size_t i = 0; i < corners; i += 3) {
        const glm::vec3 &a = triangles[i], &b = triangles[i + 1], &c = triangles[i + 2];
        const float area = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
        if (std::abs(area) < 1e-12f) continue; // standing on its edge: nothing to land on
        const int firstColumn = std::max(0, static_cast<int>(std::ceil((std::min({a.x, b.x, c.x}) - minX) / cell_)));
        const int lastColumn =
            std::min(columns_ - 1, static_cast<int>(std::floor((std::max({a.x, b.x, c.x}) - minX) / cell_)));
        const int firstRow = std::max(0, static_cast<int>(std::ceil((std::min({a.z, b.z, c.z}) - minZ) / cell_)));
        const int lastRow =
            std::min(rows_ - 1, static_cast<int>(std::floor((std::max({a.z, b.z, c.z}) - minZ) / cell_)));
        for (int row = firstRow; row <= lastRow; ++row) {
            const float z = minZ + static_cast<float>(row) * cell_;
            for (int column = firstColumn; column <= lastColumn; ++column) {
                const float x = minX + static_cast<float>(column) * cell_;
                // Barycentric weights of (x, z); a point on an edge belongs to both triangles.
                const float wb = ((x - a.x) * (c.z - a.z) - (c.x - a.x) * (z - a.z)) / area;
                const float wc = ((b.x - a.x) * (z - a.z) - (x - a.x) * (b.z - a.z)) / area;
                const float wa = 1.0f - wb - wc;
                constexpr float Edge = -1e-4f;
                if (wa < Edge || wb < Edge || wc < Edge) continue;
                float& height = heights_[static_cast<std::size_t>(row) * columns_ + column];
                height = std::max(height, wa * a.y + wb * b.y + wc * c.y);
            }
        }
    }
}

float Ground::heightAt(int column, int row) const
{
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return seaLevel_;
    return heights_[static_cast<std::size_t>(row) * columns_ + column];
}

float Ground::surfaceAt(float x, float z) const
{
    if (heights_.empty() || !std::isfinite(x) || !std::isfinite(z)) return seaLevel_;
    const float u = (x - originX_) / cell_, v = (z - originZ_) / cell_;
    // Far outside the grid is open sea; this also keeps the casts below in range.
    if (u < -1.0f || v < -1.0f || u > static_cast<float>(columns_) || v > static_cast<float>(rows_)) return seaLevel_;
    const int column = static_cast<int>(std::floor(u)), row = static_cast<int>(std::floor(v));
    const float fu = u - static_cast<float>(column), fv = v - static_cast<float>(row);
    const float near = heightAt(column, row) + (heightAt(column + 1, row) - heightAt(column, row)) * fu;
    const float far = heightAt(column, row + 1) + (heightAt(column + 1, row + 1) - heightAt(column, row + 1)) * fu;
    return std::max(seaLevel_, near + (far - near) * fv);
}

} // namespace Skyhog::Game
