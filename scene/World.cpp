#include "scene/World.h"

#include "render/DataPaths.h"
#include "render/TextureLoader.h"
#include "render/SceneLayout.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <array>
#include <iostream>

namespace Skyhog::Scene {
namespace {

const glm::mat4 Identity(1.0f);

std::string modelPath(const std::string& relative)
{
    return DataRoot + "Models/" + relative;
}

const std::array<std::string, 2> WingFiles = {Layout::LeftWingFile, Layout::RightWingFile};

// The sea ground, the boat and the palms, in drawing order.
std::vector<std::string> sceneryFiles()
{
    std::vector<std::string> files = {Layout::SeaGroundFile, Layout::BoatFile};
    for (int n = 1; n <= Layout::PalmCount; ++n) files.push_back(Layout::palmFile(n));
    return files;
}

} // namespace

World::Files World::files()
{
    Files files;
    files.models.push_back(modelPath(Layout::PigFile));
    for (const std::string& wing : WingFiles) files.models.push_back(modelPath(wing));
    for (const std::string& scenery : sceneryFiles()) files.models.push_back(modelPath(scenery));
    files.models.push_back(modelPath(Layout::IslandFile));
    for (int n = 1; n <= PersonCount; ++n) files.models.push_back(modelPath(Layout::markerFile(n)));
    files.models.push_back(modelPath(Layout::PersonFile));
    files.models.push_back(modelPath(Layout::WaterFile));
    const std::array<std::string, 6> faces = SkyBox::facePaths();
    files.pictures.assign(faces.begin(), faces.end());
    files.pictures.push_back(Island::distortionPath());
    files.pictures.push_back(Water::distortionPath());
    return files;
}

World::World(const ShaderLibrary& shaders, int width, int height) : shaders_(shaders)
{
    ShaderProgram* depth = shaders_.get("Depth");
    loadPigAndSky();
    for (const std::string& file : sceneryFiles()) {
        Model& model = load(modelPath(file), "Shadow");
        model.scale(glm::vec3(1.0f));
        model.translate(Layout::SceneryOffset);
        sceneModels_.push_back(&model);
    }
    island_ = std::make_unique<Island>(Identity, shaders_.get("Island"), depth, modelPath(Layout::IslandFile));
    island_->scale(glm::vec3(1.0f));
    island_->translate(Layout::SceneryOffset);
    loadPeople();

    water_ = std::make_unique<Water>(Identity, shaders_.get("Water"), shaders_.get("DebugWater"), depth,
                                     modelPath(Layout::WaterFile), height, width);
    water_->scale(glm::vec3(Layout::WaterScale));
    water_->translate(Layout::WaterOffset);

    lamp_ = std::make_unique<Lamp>(Identity, shaders_.get("Lamp"));

    // Start-up decoded every file once; the copies are no longer needed.
    Model::clearFileCache();
    clearDecodedImageCache();
    std::cout << "models loaded" << std::endl;
}

void World::loadPigAndSky()
{
    Model& pig = load(modelPath(Layout::PigFile), "Shadow");
    pig.translate(Layout::PigOffset);
    pig.scale(glm::vec3(Layout::PigScale));
    pig.updateModelMatrix();
    sceneModels_.push_back(&pig);

    skyBox_ = std::make_unique<SkyBox>(*shaders_.get("SkyBox"));

    for (const std::string& file : WingFiles) {
        Model& wing = load(modelPath(file), "Shadow");
        wing.translate(Layout::PigOffset);
        wing.scale(glm::vec3(Layout::PigScale));
        wing.updateModelMatrix();
        sceneModels_.push_back(&wing);
        wings_.push_back(&wing);
    }
}

void World::loadPeople()
{
    for (int n = 1; n <= PersonCount; ++n) {
        Model& marker = load(modelPath(Layout::markerFile(n)), "Shadow");
        marker.translate(Layout::SceneryOffset);
        positions_.push_back(&marker);
    }

    // Each person stands at its marker's lower corner, moved by the scenery
    // offset, so it lands exactly where the marker would be drawn.
    const glm::mat4 toScenery = glm::translate(Identity, Layout::SceneryOffset);
    for (Model* marker : positions_) {
        const glm::vec3 spot(toScenery * marker->worldMin());
        Model& person = load(modelPath(Layout::PersonFile), "Shadow");
        person.scale(glm::vec3(Layout::PersonScale));
        person.translate(spot);
        person.updateModelMatrix();
        people_.push_back(&person);
    }
}

World::~World() = default;

Model& World::load(const std::string& path, const char* mainProgram)
{
    owned_.push_back(std::make_unique<Model>(Identity, shaders_.get(mainProgram), shaders_.get("Depth"), path));
    return *owned_.back();
}

void World::removePerson(const Model* person)
{
    std::erase(people_, person);
}

void World::setTextureFilter(GLint minFilter, GLint magFilter)
{
    skyBox_->setTextureFilter(minFilter, magFilter);
    water_->setTextureFilter(minFilter, magFilter);
    island_->setTextureFilter(minFilter, magFilter);
    for (Model* model : sceneModels_) model->setTextureFilter(minFilter, magFilter);
    for (Model* person : people_) person->setTextureFilter(minFilter, magFilter);
}

} // namespace Skyhog::Scene
