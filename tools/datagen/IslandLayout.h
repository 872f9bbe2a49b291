// Where everything in the world sits: the island's shape, the palms and the
// spots where people stand. The placements the game applies to each file come
// from the game's own scene layout; this turns them into file-to-world maps.
// The models are built from these numbers and the tests check them.
#pragma once
#include "render/SceneLayout.h"

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace datagen::layout {

namespace game = Skyhog::Scene::Layout;

// Where a model the game loads is written: the folder under the data root,
// and the file's name, from the game's path for it under Models/.
struct ModelFile {
    std::string dir, name;
};
inline ModelFile modelFile(const std::string& root, const std::string& path)
{
    const size_t slash = path.rfind('/');
    return {root + "/Models/" + path.substr(0, slash), path.substr(slash + 1)};
}

// A placement inside the game's model-matrix prefix, as world = scale * file + offset.
constexpr glm::vec3 placed(glm::vec3 offset)
{
    return {game::ModelPrefixOffset.x + game::ModelPrefixScale * offset.x,
            game::ModelPrefixOffset.y + game::ModelPrefixScale * offset.y,
            game::ModelPrefixOffset.z + game::ModelPrefixScale * offset.z};
}

// Scenery files (sea ground, island, boat, palms, position markers) are drawn
// with T(0,-1.75,0) * S(0.2) * T(-10,-50,10): world = 0.2 * file + (-2,-11.75,2).
inline constexpr float SceneryWorldScale = game::ModelPrefixScale;
inline constexpr glm::vec3 SceneryWorldOffset = placed(game::SceneryOffset);
inline glm::vec3 sceneryToWorld(glm::vec3 file)
{
    return SceneryWorldScale * file + SceneryWorldOffset;
}
inline glm::vec3 worldToScenery(glm::vec3 world)
{
    return (world - SceneryWorldOffset) / SceneryWorldScale;
}

// The water surface (reflection and refraction clip planes) in world units.
inline constexpr float WaterLevel = game::WaterLevel;
// water.obj is drawn with T(0,-1.75,0) * S(0.2) * T(0,-60,0) * S(80):
// world = 16 * file + (0,-13.75,0), so its plane sits at file y = 8.75 / 16.
inline constexpr float WaterFileScale = game::ModelPrefixScale * game::WaterScale;
inline constexpr float WaterFileOffsetY = placed(game::WaterOffset).y;
inline constexpr float WaterFileY = (WaterLevel - WaterFileOffsetY) / WaterFileScale;
// Water.vert centres the plane under the eye, so this is its reach round the
// eye: past the far plane's corners (100 units ahead) on windows up to 32:9.
inline constexpr float WaterHalfSize = 15.625f; // file units, 250 world units

// Pig files are drawn with T(0,-1.75,0) * S(0.2) * T(0,28,5) * S(0.8):
// world = 0.16 * file + (0, 3.85, 1).
inline constexpr float PigWorldScale = game::ModelPrefixScale * game::PigScale;
inline constexpr glm::vec3 PigOrigin = placed(game::PigOffset);

// A person file is scaled by 10 inside the scenery placement: 2 world units per file unit.
inline constexpr float PersonWorldScale = game::ModelPrefixScale * game::PersonScale;
inline constexpr float PersonHeight = 0.9f; // file units, 1.8 world units

// The island: a sandy dome centred ahead of the start.
inline constexpr glm::vec2 IslandCentre{0.0f, 20.0f}; // world x, z
inline constexpr float IslandRadius = 15.0f;          // mean radius of the coastline
inline constexpr float IslandRise = 1.75f;            // sand top above the water
inline constexpr float IslandReach = 1.5f;            // underwater slope ends this far out (x coast radius)

// Radius of the coastline (where the sand meets the water) in direction `angle`
// (radians, measured from +x towards +z around the island centre): a rounded
// core with bays and sandy points along it.
float coastRadius(float angle);
// World height of the island surface at world (x, z); far outside it keeps falling.
float islandHeight(float x, float z);
// Distance from the island centre relative to the coastline: 0 centre, 1 coast.
float islandFraction(float x, float z);

// The sea floor under the visible sea, always within (-9, -7) world units.
float seaGroundHeight(float x, float z);
inline constexpr float SeaGroundHalfSize = 120.0f; // world units around the origin

inline constexpr int PeopleCount = game::PeopleCount;
inline constexpr int PalmCount = game::PalmCount;

// People walk back and forth along x from their spot: with all thirteen on
// the island each covers about 0.8 units towards +x, and a little more once
// some are gone. The walk is kept this far either side of the spot, with room
// for the body, and people may grow to 1.5 times the model's height.
inline constexpr float PersonWalkBack = 0.5f;  // world units towards -x
inline constexpr float PersonWalkAhead = 1.4f; // world units towards +x
inline constexpr float PersonTallest = 2.7f;   // world units
// The chase camera's eye at the start: 4 units behind the pig, looking at the
// island along +z. Palms are kept out of its view of the people.
inline constexpr glm::vec3 StartEye{placed(game::PigOffset).x, placed(game::PigOffset).y,
                                    placed(game::PigOffset).z - 4.0f};

// A palm's place and the outline the layout plans for it; the mesh keeps to
// it, so the layout can keep trunks and crowns out of the people's way.
struct PalmSpot {
    glm::vec2 xz;   // world position of the trunk base
    glm::vec2 lean; // where the top of the trunk stands from the base, world x, z
    float height;   // top of the trunk above the sand, world units
    float reach;    // how far the fronds spread out from the top, world units
    float hang;     // how far the lowest frond tips hang below the top, world units
    uint32_t seed;  // shapes the rest: trunk curve, fronds, colour, coconuts
};

// World (x, z) of the people, in the order of position1..position13.
const std::vector<glm::vec2>& peopleSpots();
// The palms in the order of palm1..palm41: in groups of two to five and a few
// alone, spread over the island with open stretches of beach between them and
// a few on the edge of the sand leaning out over the water, none in a
// person's walk or between the start view and a person.
const std::vector<PalmSpot>& palmSpots();
inline constexpr float PalmClearOfWalk = 1.6f; // between a trunk and a person's walk, world units
// Trunk tops: palms stand about one and a half to two times a person's height.
inline constexpr float PalmHeightLow = 2.3f; // world units
inline constexpr float PalmHeightHigh = 3.6f;

// Horizontal distance from world (x, z) to the line person `index` walks along.
float distanceToWalk(int index, glm::vec2 xz);

// Where the person stands for marker i (0-based): world (x, island height, z).
glm::vec3 personWorldPosition(int index);

// The boat floats at the waterline off the island's far shore, clear of the
// sand under the water, where the start view sees it beside the island.
inline constexpr glm::vec3 BoatPosition{21.0f, WaterLevel, 35.0f};
inline constexpr float BoatHeading = -1.2f; // radians about +y; 0 sails towards +z

} // namespace datagen::layout
