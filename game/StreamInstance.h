// What each instance of the stream's one instanced draw is: a falling drop
// or a splash where drops land. The "Particle" program reads the kind and the
// age from the fourth component of the per-instance "motion" attribute, as
// kind * 10 + age in seconds. Ages are held to 9 at most, so that the kind
// reads back right even from a division that is off in its last bits.
// Particle.vert decodes the same numbers. No OpenGL.
#pragma once
#include <algorithm>

namespace Skyhog::Game {

enum class InstanceKind {
    Drop = 0,        // falling, over sand (or anything already drawn)
    DropOverSea = 1, // falling, with the sea still to be drawn behind it
    SeaRing = 2,     // rings spreading on the sea where the stream lands
    SeaBurst = 3,    // droplets thrown up from the sea
    WetSpot = 4,     // a darker patch on the sand
    SandBurst = 5,   // droplets thrown up from the sand
    HitBurst = 6,    // the splash on a person who was hit
};

inline float motionCode(InstanceKind kind, float age)
{
    return 10.0f * static_cast<float>(kind) + std::clamp(age, 0.0f, 9.0f);
}

} // namespace Skyhog::Game
