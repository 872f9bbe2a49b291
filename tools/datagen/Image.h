// An RGB picture in floats, painted in memory and saved as JPEG.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace datagen {

// A rectangle of texture coordinates; (0,0) is the bottom-left of a picture
// as it is seen, which is how OpenGL samples a JPEG whose bottom row is uploaded first.
struct UvRect {
    glm::vec2 lo{0, 0}, hi{1, 1};
    glm::vec2 at(float u, float v) const { return lo + (hi - lo) * glm::vec2(u, v); }
};

class Image {
public:
    Image(int width, int height, glm::vec3 fill = glm::vec3(0));

    int width() const { return width_; }
    int height() const { return height_; }
    // Row 0 is the top row as the picture is seen.
    glm::vec3& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const glm::vec3& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void blend(int x, int y, glm::vec3 colour, float alpha);

    // Calls paint(local, uv) for every pixel centre inside `rect`; local runs
    // 0..1 across the rectangle, uv is the whole picture's coordinate.
    void paintUv(const UvRect& rect, const std::function<glm::vec3(glm::vec2 local, glm::vec2 uv)>& paint);

    // Anti-aliased shapes in pixel coordinates (y down). Angle in radians.
    void fillEllipse(glm::vec2 centre, glm::vec2 radii, float angle, glm::vec3 colour, float alpha = 1);
    void fillCapsule(glm::vec2 a, glm::vec2 b, float radius, glm::vec3 colour, float alpha = 1);
    void fillRoundRect(glm::vec2 lo, glm::vec2 hi, float radius, glm::vec3 colour, float alpha = 1);

    // Writes a baseline JPEG. Full-resolution colour keeps lettering crisp.
    void saveJpeg(const std::string& path, int quality = 90, bool fullChroma = false) const;
    // Writes a PNG with an alpha channel: `alpha` holds one coverage value per
    // pixel, row by row from the top, and the colours are not premultiplied.
    void savePng(const std::string& path, const std::vector<float>& alpha) const;

private:
    // coverage(p) returns signed distance in pixels (negative inside).
    void fillShape(glm::vec2 lo, glm::vec2 hi, const std::function<float(glm::vec2)>& distance, glm::vec3 colour,
                   float alpha);

    int width_, height_;
    std::vector<glm::vec3> pixels_;
};

} // namespace datagen
