#include "scene/Water.h"

#include "render/DataPaths.h"
#include "render/Fatal.h"
#include "render/TextureLoader.h"

namespace Skyhog::Scene {
namespace {

// The surface needs a first mesh with a picture; refuse the file up front
// rather than fail at the first draw.
GLuint surfaceTextureOf(const Model& model, const std::string& path)
{
    if (model.meshes().empty() || model.meshes().front()->textures().empty()) {
        fatal("Error: water model has no textured mesh: " + path);
    }
    return model.meshes().front()->textures().front().id;
}

} // namespace

std::string Water::distortionPath()
{
    return DataRoot + "Models/Ground/water_dudv.jpg";
}

Water::Water(const glm::mat4& modelMatrix, ShaderProgram* waterProgram, ShaderProgram* debugProgram,
             ShaderProgram* depthProgram, const std::string& path, std::int32_t height, std::int32_t width)
    : Model(modelMatrix, waterProgram, depthProgram, path), surfaceTexture_(surfaceTextureOf(*this, path)),
      reflection_(*debugProgram, height, width, TopLeftQuad),
      refraction_(*debugProgram, height, width, TopRightMirroredQuad)
{
    dudvTexture_ = GlTexture(loadTextureFile(distortionPath(), TextureVariant::WaterDistortion));
}

Water::~Water() = default;

void Water::draw()
{
    ShaderProgram& program = *mainProgram();
    // The placement without the pose, for this draw only: the stored matrix stays.
    program.setMat4("model", baseMatrix());

    // Each sampler gets its unit; a sampler the program lacks is reported on
    // every draw and its texture stays bound regardless.
    const auto bindSampler = [&program](GLenum unit, GLuint texture, const char* sampler, const char* error) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, texture);
        if (!program.setSampler(sampler, static_cast<GLint>(unit))) note(error);
    };
    bindSampler(0, surfaceTexture_, "texture_diffuse1", "Error: standardTex ");
    bindSampler(1, reflection_.getColorTexture(), "reflectionTexture", "Error: reflectiontex");
    bindSampler(2, refraction_.getColorTexture(), "refractionTexture", "Error:refractionTex");
    bindSampler(3, dudvTexture_.get(), "dudvMap", "Error: dudv");

    // Only the first mesh is the surface.
    const auto& mesh = *meshes().front();
    glBindVertexArray(mesh.vertexArray());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.indices().size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void Water::drawReflectionDebug() const
{
    reflection_.draw();
}

void Water::drawRefractionDebug() const
{
    refraction_.draw();
}

void Water::setTextureFilter(GLint minFilter, GLint magFilter) const
{
    setTextureFilters(GL_TEXTURE_2D, surfaceTexture_, minFilter, magFilter);
}

} // namespace Skyhog::Scene
