// Sound files made on the spot for the audio tests, and a wait for the
// engine's worker.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace SkyhogTest {

// A 44.1 kHz mono sine; the extension picks the format (.wav or .mp3).
void writeTone(const std::string& path, double frequency, double seconds);

// How long a test waits for the engine's worker to get somewhere: long enough
// for the slowest machine, so only a hang or a real fault runs out of it.
inline constexpr std::chrono::seconds Patience{30};

// Polls `done` until it holds or `timeout` passes; returns its last answer.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = Patience);

} // namespace SkyhogTest
