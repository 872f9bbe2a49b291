#include "scene/Island.h"

#include "render/DataPaths.h"
#include "render/Fatal.h"
#include "render/TextureLoader.h"

namespace Skyhog::Scene {

std::string Island::distortionPath()
{
    return DataRoot + "Models/Ground/dudv_sand.jpg";
}

Island::Island(const glm::mat4& placement, ShaderProgram* mainProgram, ShaderProgram* depthProgram,
               const std::string& path)
    : Model(placement, mainProgram, depthProgram, path)
{
    note(directory());
    distortionTexture_ = GlTexture(loadTextureFile(distortionPath(), TextureVariant::Island));
}

Island::~Island() = default;

void Island::draw()
{
    // The island is never posed: its matrix is the placement alone.
    updateModelMatrix(); // also makes the main program current
    ShaderProgram& program = *mainProgram();
    program.setMat4("model", modelMatrix());

    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, distortionTexture_.get());
    program.setSampler("dudvMap", 2); // a program without it draws the plain sand

    // Each mesh binds its own textures from unit 0 upwards.
    for (const auto& mesh : meshes()) mesh->draw();

    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
}

} // namespace Skyhog::Scene
