#include "scene/SkyBox.h"

#include "render/DataPaths.h"
#include "render/TextureLoader.h"

namespace Skyhog::Scene {
namespace {

// 12 triangles, two per face, corners at +-1; a face's six vertices per row.
constexpr std::array<float, 108> CubeVertices = {
    -1, 1,  -1, -1, -1, -1, 1,  -1, -1, 1,  -1, -1, 1,  1,  -1, -1, 1,  -1, // z = -1
    -1, -1, 1,  -1, -1, -1, -1, 1,  -1, -1, 1,  -1, -1, 1,  1,  -1, -1, 1,  // x = -1
    1,  -1, -1, 1,  -1, 1,  1,  1,  1,  1,  1,  1,  1,  1,  -1, 1,  -1, -1, // x = +1
    -1, -1, 1,  -1, 1,  1,  1,  1,  1,  1,  1,  1,  1,  -1, 1,  -1, -1, 1,  // z = +1
    -1, 1,  -1, 1,  1,  -1, 1,  1,  1,  1,  1,  1,  -1, 1,  1,  -1, 1,  -1, // y = +1
    -1, -1, -1, -1, -1, 1,  1,  -1, -1, 1,  -1, -1, -1, -1, 1,  1,  -1, 1,  // y = -1
};
static_assert(sizeof(CubeVertices) == 432);

} // namespace

std::array<std::string, 6> SkyBox::facePaths()
{
    // "back" faces +Z and "front" -Z: the camera starts looking down -Z at the front.
    const std::string folder = DataRoot + "Models/Skybox/";
    return {folder + "right.jpg",  folder + "left.jpg", folder + "top.jpg",
            folder + "bottom.jpg", folder + "back.jpg", folder + "front.jpg"};
}

SkyBox::SkyBox(const ShaderProgram& shader) : shader_(shader)
{
    vertexArray_ = GlVertexArray::generate();
    vertexBuffer_ = GlBuffer::generate();
    glBindVertexArray(vertexArray_.get());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, sizeof(CubeVertices), CubeVertices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    cubeMapTexture_ = GlTexture(loadCubeMapFiles(facePaths()));
}

void SkyBox::draw() const
{
    glBindVertexArray(vertexArray_.get());
    glActiveTexture(GL_TEXTURE0);
    // Lands on the current program, which the caller made the sky box's own.
    shader_.setInt("skybox", 0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMapTexture_.get());
    glDrawArrays(GL_TRIANGLES, 0, 36);
    glBindVertexArray(0);
}

void SkyBox::setTextureFilter(GLint minFilter, GLint magFilter) const
{
    setTextureFilters(GL_TEXTURE_CUBE_MAP, cubeMapTexture_.get(), minFilter, magFilter);
}

} // namespace Skyhog::Scene
