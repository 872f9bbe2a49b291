// Names one sound started by SoundEngine::play2D. Handles are unique across the
// whole process, so a handle shown to the wrong engine simply reads as finished.
#pragma once

#include <cstdint>

namespace Skyhog::Audio {

struct SoundHandle {
    std::uint64_t id = 0; // 0: nothing was started (silent engine)

    explicit operator bool() const { return id != 0; }
    friend bool operator==(SoundHandle, SoundHandle) = default;
};

// Where a sound is in its life. A sound that failed to load, ran to its end or
// was stopped reads as Finished.
enum class SoundState { Starting, Playing, Finished };

} // namespace Skyhog::Audio
