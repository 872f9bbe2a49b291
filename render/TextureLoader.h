// The one image-to-texture procedure. Pictures are decoded with FreeImage into
// 32-bit BGRA pixels and uploaded as GL_RGBA8, bottom row first (so texture
// coordinate (0, 0) is the picture's bottom-left corner), with a full mipmap
// chain (box-filtered when the picture is decoded; a cube map's chain is left
// to glGenerateMipmap). The 2D loads differ only in path echo and sampling
// parameters, which the variant selects.
//
// A missing or undecodable file never crashes: no pixels are touched and the
// texture is created empty (0 x 0), which samples as incomplete. Nothing but
// the echoed path is written.
//
// Decoded pixels are kept in a cache until clearDecodedImageCache(), so a
// picture used by many models is decoded once during start-up; every call
// still creates its own texture object.
#pragma once
#include "render/Gl.h"

#include <array>
#include <string>

namespace Skyhog {

enum class TextureVariant {
    FullScreenPicture, // echoed; mirrored repeat; linear
    ModelMaterial,     // silent; repeat; trilinear
    Island,            // echoed; repeat; trilinear
    WaterDistortion,   // echoed; repeat; filters left at the OpenGL defaults
};

// Loads one 2D picture; leaves texture 0 bound to GL_TEXTURE_2D on the active unit.
GLuint loadTextureFile(const std::string& path, TextureVariant variant);

// Loads six pictures into one cube map, in the order +X, -X, +Y, -Y, +Z, -Z;
// leaves no cube map bound.
GLuint loadCubeMapFiles(const std::array<std::string, 6>& facePaths);

// Sets the minifying and magnifying filters of texture on target (GL_TEXTURE_2D
// or GL_TEXTURE_CUBE_MAP); leaves nothing bound there.
void setTextureFilters(GLenum target, GLuint texture, GLint minFilter, GLint magFilter);

// Decodes a picture into the kept pixels ahead of its load. Makes no GL calls
// and may run on any thread; a file that fails is simply kept empty, which is
// what its load would make of it.
void prepareImage(const std::string& path);

// Drops the decoded pixels kept for reuse (call once start-up is over).
void clearDecodedImageCache();

} // namespace Skyhog
