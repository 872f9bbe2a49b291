#include "Image.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <glm/geometric.hpp>

namespace datagen {

Image::Image(int width, int height, glm::vec3 fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill)
{
}

void Image::blend(int x, int y, glm::vec3 colour, float alpha)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    glm::vec3& p = at(x, y);
    p += (colour - p) * std::min(alpha, 1.0f);
}

void Image::paintUv(const UvRect& rect, const std::function<glm::vec3(glm::vec2, glm::vec2)>& paint)
{
    int x0 = static_cast<int>(std::floor(rect.lo.x * width_));
    int x1 = static_cast<int>(std::ceil(rect.hi.x * width_));
    // v grows upwards, rows grow downwards.
    int y0 = static_cast<int>(std::floor((1 - rect.hi.y) * height_));
    int y1 = static_cast<int>(std::ceil((1 - rect.lo.y) * height_));
    for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, width_); ++x) {
            glm::vec2 uv((x + 0.5f) / width_, 1 - (y + 0.5f) / height_);
            glm::vec2 local = (uv - rect.lo) / (rect.hi - rect.lo);
            at(x, y) = paint(local, uv);
        }
    }
}

void Image::fillShape(glm::vec2 lo, glm::vec2 hi, const std::function<float(glm::vec2)>& distance, glm::vec3 colour,
                      float alpha)
{
    int x0 = std::max(0, static_cast<int>(std::floor(lo.x)) - 1);
    int y0 = std::max(0, static_cast<int>(std::floor(lo.y)) - 1);
    int x1 = std::min(width_, static_cast<int>(std::ceil(hi.x)) + 2);
    int y1 = std::min(height_, static_cast<int>(std::ceil(hi.y)) + 2);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float d = distance(glm::vec2(x + 0.5f, y + 0.5f));
            float cover = std::clamp(0.5f - d, 0.0f, 1.0f);
            if (cover > 0) blend(x, y, colour, cover * alpha);
        }
}

void Image::fillEllipse(glm::vec2 centre, glm::vec2 radii, float angle, glm::vec3 colour, float alpha)
{
    float c = std::cos(angle), s = std::sin(angle);
    float reach = std::max(radii.x, radii.y);
    fillShape(
        centre - reach, centre + reach,
        [&](glm::vec2 p) {
            glm::vec2 d = p - centre;
            glm::vec2 l(c * d.x + s * d.y, -s * d.x + c * d.y);
            float k = glm::length(l / radii);
            // Distance to the outline, close enough for edges a pixel wide.
            return (k - 1) * std::min(radii.x, radii.y);
        },
        colour, alpha);
}

void Image::fillCapsule(glm::vec2 a, glm::vec2 b, float radius, glm::vec3 colour, float alpha)
{
    glm::vec2 ab = b - a;
    float len2 = std::max(glm::dot(ab, ab), 1e-6f);
    fillShape(
        glm::min(a, b) - radius, glm::max(a, b) + radius,
        [&](glm::vec2 p) {
            float t = std::clamp(glm::dot(p - a, ab) / len2, 0.0f, 1.0f);
            return glm::length(p - (a + ab * t)) - radius;
        },
        colour, alpha);
}

void Image::fillRoundRect(glm::vec2 lo, glm::vec2 hi, float radius, glm::vec3 colour, float alpha)
{
    glm::vec2 centre = (lo + hi) * 0.5f, half = (hi - lo) * 0.5f - radius;
    fillShape(
        lo, hi,
        [&](glm::vec2 p) {
            glm::vec2 q = glm::abs(p - centre) - half;
            return glm::length(glm::max(q, 0.0f)) + std::min(std::max(q.x, q.y), 0.0f) - radius;
        },
        colour, alpha);
}

namespace {

// The picture as a FreeImage bitmap, with an alpha channel when `alpha` is
// given (one coverage value per pixel, row by row from the top); the caller
// unloads it.
FIBITMAP* toBitmap(const Image& img, const std::vector<float>* alpha, const std::string& path)
{
    const int channels = alpha ? 4 : 3;
    FIBITMAP* bitmap = FreeImage_Allocate(img.width(), img.height(), 8 * channels);
    if (!bitmap) throw std::runtime_error("cannot allocate a picture for " + path);
    for (int y = 0; y < img.height(); ++y) {
        // FreeImage keeps the bottom row in scanline 0.
        BYTE* line = FreeImage_GetScanLine(bitmap, img.height() - 1 - y);
        for (int x = 0; x < img.width(); ++x) {
            BYTE* texel = line + x * channels;
            glm::vec3 c = glm::clamp(img.at(x, y), 0.0f, 1.0f) * 255.0f + 0.5f;
            texel[FI_RGBA_RED] = static_cast<BYTE>(c.r);
            texel[FI_RGBA_GREEN] = static_cast<BYTE>(c.g);
            texel[FI_RGBA_BLUE] = static_cast<BYTE>(c.b);
            if (alpha) {
                float a = (*alpha)[static_cast<size_t>(y) * img.width() + x];
                texel[FI_RGBA_ALPHA] = static_cast<BYTE>(std::clamp(a, 0.0f, 1.0f) * 255.0f + 0.5f);
            }
        }
    }
    return bitmap;
}

// Writes and unloads the bitmap.
void save(FREE_IMAGE_FORMAT format, FIBITMAP* bitmap, const std::string& path, int flags)
{
    bool ok = FreeImage_Save(format, bitmap, path.c_str(), flags);
    FreeImage_Unload(bitmap);
    if (!ok) throw std::runtime_error("cannot write " + path);
}

} // namespace

void Image::saveJpeg(const std::string& path, int quality, bool fullChroma) const
{
    save(FIF_JPEG, toBitmap(*this, nullptr, path), path,
         quality | JPEG_BASELINE | (fullChroma ? JPEG_SUBSAMPLING_444 : 0));
}

void Image::savePng(const std::string& path, const std::vector<float>& alpha) const
{
    if (alpha.size() != pixels_.size()) throw std::runtime_error("alpha does not fit the picture for " + path);
    save(FIF_PNG, toBitmap(*this, &alpha, path), path, PNG_Z_BEST_COMPRESSION);
}

} // namespace datagen
