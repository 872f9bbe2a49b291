// Every object of the scene, loaded once at start-up and placed with fixed
// transforms: the pig and its wings, the sea ground, the boat, 41 palms, the
// island, 13 position markers with a person standing at each, the water, the
// sky box and the lamp. All placement constants of the scene live here.
//
// The lists hold borrowed pointers into objects the World owns for its whole
// life; a person hit by the stream leaves `people` but stays owned. Needs a
// current OpenGL context and a shader library that outlives it.
#pragma once
#include "render/Model.h"
#include "render/ShaderLibrary.h"
#include "scene/Island.h"
#include "scene/Lamp.h"
#include "scene/SkyBox.h"
#include "render/SceneLayout.h"
#include "scene/Water.h"

#include <memory>
#include <vector>

namespace Skyhog::Scene {

class World {
public:
    static constexpr int PalmCount = Layout::PalmCount;
    static constexpr int PersonCount = Layout::PeopleCount;

    // Every file the constructor reads: models in the order it loads them,
    // then the pictures no model names (sky box faces, distortion maps).
    struct Files {
        std::vector<std::string> models;
        std::vector<std::string> pictures;
    };
    static Files files();

    // Loads and places the whole scene, then writes "models loaded".
    World(const ShaderLibrary& shaders, int width, int height);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    Model& pig() const { return *sceneModels_.front(); }
    Model& leftWing() const { return *wings_[0]; }
    Model& rightWing() const { return *wings_[1]; }

    // Pig body, left wing, right wing, sea ground, boat, palm 1 to 41.
    std::vector<Model*>& sceneModels() { return sceneModels_; }
    // The people still standing, in marker order.
    std::vector<Model*>& people() { return people_; }
    const std::vector<Model*>& positions() const { return positions_; }
    std::vector<Model*>& wings() { return wings_; }

    Water& water() const { return *water_; }
    Island& island() const { return *island_; }
    SkyBox& skyBox() const { return *skyBox_; }
    Lamp& lamp() const { return *lamp_; }

    GLuint getReflectionFramebuffer() const { return water_->getReflectionFramebuffer(); }
    GLuint getRefractionFramebuffer() const { return water_->getRefractionFramebuffer(); }

    // Takes every occurrence of person out of `people`, keeping the others' order.
    void removePerson(const Model* person);
    // Sets both filters on the sky box, water, island, scene models and remaining people.
    void setTextureFilter(GLint minFilter, GLint magFilter);

private:
    Model& load(const std::string& path, const char* mainProgram);
    // The pig, the sky box right after it, then the two wings.
    void loadPigAndSky();
    // The thirteen markers, then a person on each.
    void loadPeople();

    const ShaderLibrary& shaders_;
    std::vector<std::unique_ptr<Model>> owned_;
    std::vector<Model*> sceneModels_;
    std::vector<Model*> people_;
    std::vector<Model*> positions_;
    std::vector<Model*> wings_;
    std::unique_ptr<SkyBox> skyBox_;
    std::unique_ptr<Island> island_;
    std::unique_ptr<Water> water_;
    std::unique_ptr<Lamp> lamp_;
};

} // namespace Skyhog::Scene
