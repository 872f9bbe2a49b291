#include "render/TextureLoader.h"

#include "render/TextureFilter.h"

#include <FreeImage.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace Skyhog {

static_assert(TextureFilter::Nearest == GL_NEAREST && TextureFilter::Linear == GL_LINEAR);
static_assert(TextureFilter::NearestMipmapNearest == GL_NEAREST_MIPMAP_NEAREST &&
              TextureFilter::LinearMipmapNearest == GL_LINEAR_MIPMAP_NEAREST &&
              TextureFilter::NearestMipmapLinear == GL_NEAREST_MIPMAP_LINEAR &&
              TextureFilter::LinearMipmapLinear == GL_LINEAR_MIPMAP_LINEAR);

namespace {

// One level of a picture in FreeImage's 32-bit layout (BGRA, bottom row
// first, rows tightly packed because 32-bit rows are always 4-byte aligned).
struct Level {
    GLsizei width = 0;
    GLsizei height = 0;
    std::vector<unsigned char> pixels;
};

// A decoded picture: level 0, then its mipmap chain down to 1 x 1, made here
// rather than by glGenerateMipmap, which the software renderer runs as one
// draw and flush per level on the main thread; this way the chain is built
// once per file, on whichever thread decodes it.
struct Image : Level {
    std::vector<Level> mipmaps; // levels 1, 2, ... (empty when there are no pixels)
};

// The next level down: half the size (rounded down, at least 1), each texel
// the rounded average of the 2 x 2 block above it (clamped at an odd edge).
Level halve(const Level& above)
{
    Level level;
    level.width = std::max<GLsizei>(1, above.width / 2);
    level.height = std::max<GLsizei>(1, above.height / 2);
    level.pixels.resize(static_cast<std::size_t>(level.width) * level.height * 4);
    const auto texel = [&](GLsizei x, GLsizei y) {
        x = std::min(x, above.width - 1);
        y = std::min(y, above.height - 1);
        return above.pixels.data() + (static_cast<std::size_t>(y) * above.width + x) * 4;
    };
    unsigned char* out = level.pixels.data();
    for (GLsizei y = 0; y < level.height; ++y) {
        for (GLsizei x = 0; x < level.width; ++x) {
            const unsigned char* a = texel(2 * x, 2 * y);
            const unsigned char* b = texel(2 * x + 1, 2 * y);
            const unsigned char* c = texel(2 * x, 2 * y + 1);
            const unsigned char* d = texel(2 * x + 1, 2 * y + 1);
            for (int channel = 0; channel < 4; ++channel) {
                *out++ = static_cast<unsigned char>((a[channel] + b[channel] + c[channel] + d[channel] + 2) / 4);
            }
        }
    }
    return level;
}

void buildMipmaps(Image& image)
{
    const Level* above = &image;
    while (above->width > 1 || above->height > 1) {
        image.mipmaps.push_back(halve(*above));
        above = &image.mipmaps.back();
    }
}

// Decoded pictures kept during start-up. A start-up worker may decode into
// the cache while the main thread reads it, hence the lock; the cache is never
// destroyed, so a worker still running while the process exits is safe.
struct ImageCache {
    std::mutex lock;
    std::unordered_map<std::string, std::shared_ptr<const Image>> images;
};

ImageCache& imageCache()
{
    static ImageCache* cache = new ImageCache;
    return *cache;
}

std::shared_ptr<const Image> decodeFile(const std::string& path)
{
    auto image = std::make_shared<Image>();
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    FIBITMAP* decoded = format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, path.c_str(), 0);
    if (decoded != nullptr) {
        FIBITMAP* converted = FreeImage_ConvertTo32Bits(decoded);
        FreeImage_Unload(decoded);
        if (converted != nullptr) {
            const unsigned width = FreeImage_GetWidth(converted);
            const unsigned height = FreeImage_GetHeight(converted);
            const unsigned pitch = FreeImage_GetPitch(converted);
            const BYTE* bits = FreeImage_GetBits(converted);
            if (bits != nullptr && width > 0 && height > 0) {
                image->width = static_cast<GLsizei>(width);
                image->height = static_cast<GLsizei>(height);
                image->pixels.resize(static_cast<std::size_t>(width) * height * 4);
                for (unsigned row = 0; row < height; ++row) {
                    std::copy_n(bits + static_cast<std::size_t>(row) * pitch, width * 4,
                                image->pixels.data() + static_cast<std::size_t>(row) * width * 4);
                }
            }
            FreeImage_Unload(converted);
        }
    }
    if (!image->pixels.empty()) buildMipmaps(*image);
    return image;
}

std::shared_ptr<const Image> decode(const std::string& path)
{
    ImageCache& cache = imageCache();
    {
        const std::lock_guard<std::mutex> guard(cache.lock);
        if (auto found = cache.images.find(path); found != cache.images.end()) return found->second;
    }
    // Decoded outside the lock so the other thread is never held up by it;
    // whoever decoded first wins, and both copies are equal.
    auto image = decodeFile(path);
    const std::lock_guard<std::mutex> guard(cache.lock);
    return cache.images.emplace(path, std::move(image)).first->second;
}

// Uploads level 0 to target.
void upload(GLenum target, const Image& image)
{
    glTexImage2D(target, 0, GL_RGBA8, image.width, image.height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 image.pixels.empty() ? nullptr : image.pixels.data());
}

// Uploads the prepared mipmap chain below level 0.
void uploadMipmaps(GLenum target, const Image& image)
{
    GLint index = 1;
    for (const Level& level : image.mipmaps) {
        glTexImage2D(target, index++, GL_RGBA8, level.width, level.height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     level.pixels.data());
    }
}

void setWrapAndFilters(GLint wrap, GLint minFilter, GLint magFilter)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    if (minFilter != 0) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    if (magFilter != 0) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

} // namespace

GLuint loadTextureFile(const std::string& path, TextureVariant variant)
{
    if (variant != TextureVariant::ModelMaterial) std::cout << path << '\n';
    const auto image = decode(path);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    upload(GL_TEXTURE_2D, *image);
    uploadMipmaps(GL_TEXTURE_2D, *image);

    switch (variant) {
    case TextureVariant::FullScreenPicture: setWrapAndFilters(GL_MIRRORED_REPEAT, GL_LINEAR, GL_LINEAR); break;
    case TextureVariant::ModelMaterial:
    case TextureVariant::Island: setWrapAndFilters(GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR); break;
    case TextureVariant::WaterDistortion: setWrapAndFilters(GL_REPEAT, 0, 0); break;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

GLuint loadCubeMapFiles(const std::array<std::string, 6>& facePaths)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    bool complete = true;
    for (std::size_t face = 0; face < facePaths.size(); ++face) {
        const auto image = decode(facePaths[face]);
        complete = complete && !image->pixels.empty();
        upload(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), *image);
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    // Mipmaps of a cube map with a missing or mismatched face would raise an error.
    if (complete) glGenerateMipmap(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return texture;
}

void setTextureFilters(GLenum target, GLuint texture, GLint minFilter, GLint magFilter)
{
    glBindTexture(target, texture);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, magFilter);
    glBindTexture(target, 0);
}

void prepareImage(const std::string& path)
{
    decode(path);
}

void clearDecodedImageCache()
{
    ImageCache& cache = imageCache();
    const std::lock_guard<std::mutex> guard(cache.lock);
    cache.images.clear();
}

} // namespace Skyhog
