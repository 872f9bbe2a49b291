// Where the world puts each file, written once for the game, the data
// generator and the tests: the file names, the counts and the placements.
// No OpenGL and nothing else of the game: the generator builds its models
// to these numbers, the world places them with the same ones, and the data
// tests check that the two agree.
#pragma once
#include <glm/vec3.hpp>

#include <string>

namespace Skyhog::Scene::Layout {

// Every model matrix begins with T(ModelPrefixOffset) * S(ModelPrefixScale):
// file units and placements are five times world units.
inline constexpr glm::vec3 ModelPrefixOffset{0.0f, -1.75f, 0.0f};
inline constexpr float ModelPrefixScale = 0.2f;

// Placements inside that prefix. The sea ground, the island, the boat, the
// palms and the people's markers all share the scenery offset.
inline constexpr glm::vec3 SceneryOffset{-10.0f, -50.0f, 10.0f};
inline constexpr glm::vec3 PigOffset{0.0f, 28.0f, 5.0f}; // the pig's body and both wings
inline constexpr float PigScale = 0.8f;
inline constexpr float PersonScale = 10.0f; // inside the scenery placement
inline constexpr glm::vec3 WaterOffset{0.0f, -60.0f, 0.0f};
inline constexpr float WaterScale = 80.0f;

// The sea's surface in world units: the reflection pass keeps what is above
// it, the refraction pass what is below. The water file's plane lies here
// once placed; the shaders that draw on the surface use the same number.
inline constexpr float WaterLevel = -5.0f;

inline constexpr int PalmCount = 41;
inline constexpr int PeopleCount = 13;

// Files, relative to the data tree's Models/ folder.
inline constexpr const char* PigFile = "Pig/pig9.obj";
inline constexpr const char* LeftWingFile = "Pig/left_wing.obj";
inline constexpr const char* RightWingFile = "Pig/right_wing.obj";
inline constexpr const char* SeaGroundFile = "Ground/seeGround.obj";
inline constexpr const char* IslandFile = "Ground/islandOnly.obj";
inline constexpr const char* WaterFile = "Ground/water.obj";
inline constexpr const char* BoatFile = "Landscape/boatyMcBoatface.obj";
inline constexpr const char* PersonFile = "People/Bystand/Bystander.obj";
// n counts from 1.
inline std::string palmFile(int n)
{
    return "Landscape/Palms/palm" + std::to_string(n) + ".obj";
}
inline std::string markerFile(int n)
{
    return "Positions/position" + std::to_string(n) + ".obj";
}

} // namespace Skyhog::Scene::Layout
