#include "render/TextureLoader.h"

#include <FreeImage.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Skyhog {
namespace {

// A decoded picture in FreeImage's 32-bit layout (BGRA, bottom row first,
// rows tightly packed because 32-bit rows are always 4-byte aligned).
struct Image {
    GLsizei width = 0;
    GLsizei height = 0;
    std::vector<unsigned char> pixels;
};

std::unordered_map<std::string, std::shared_ptr<const Image>>& imageCache()
{
    static std::unordered_map<std::string, std::shared_ptr<const Image>> cache;
    return cache;
}

std::shared_ptr<const Image> decode(const std::string& path)
{
    auto& cache = imageCache();
    if (auto found = cache.find(path); found != cache.end()) return found->second;

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
    cache.emplace(path, image);
    return image;
}

// Uploads level 0 (and the mipmap chain when there are pixels) to target.
void upload(GLenum target, const Image& image)
{
    glTexImage2D(target, 0, GL_RGBA8, image.width, image.height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 image.pixels.empty() ? nullptr : image.pixels.data());
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
    if (!image->pixels.empty()) glGenerateMipmap(GL_TEXTURE_2D);

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

void clearDecodedImageCache()
{
    imageCache().clear();
}

} // namespace Skyhog
