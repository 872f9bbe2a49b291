// Plays the game's sounds: music, the sea, effects. Built on OpenAL Soft and
// libsndfile. Call it from one thread (the game's main thread); files are opened,
// decoded and streamed on the engine's own worker thread, so no call waits on a
// file. Without a sound output device the engine is silent: everything still
// works and nothing plays, so the game goes on.
#pragma once

#include "audio/SoundHandle.h"

#include <cstddef>
#include <memory>
#include <string>

namespace Skyhog::Audio {

class VoiceThread;

class SoundEngine {
public:
    // nullptr only when no engine can be made at all. With no output device a
    // silent engine comes back, and one line on standard output says sound is off.
    static std::unique_ptr<SoundEngine> create();
    // Stops every sound this engine started.
    ~SoundEngine();

    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    // Plays a file without position, once or looped, and returns at once.
    // Short files are decoded once and kept; long ones stream from disk. A file
    // that cannot be played makes no sound and one line naming it, the first
    // time. The handle may be ignored.
    SoundHandle play2D(const std::string& path, bool loop);
    // Stops a sound of this engine; a finished or unknown one is left alone.
    void stop(SoundHandle sound);
    // Starting until the worker has the sound going (or given it up), Playing
    // while it sounds, Finished after.
    SoundState state(SoundHandle sound) const;

    // True when there is no output device and nothing will ever play.
    bool silent() const { return !voices_; }

    // Sounds of this engine holding an OpenAL source right now.
    std::size_t voiceCount() const;
    // The most sounds one engine plays at once; a new one-shot past that cuts
    // off the oldest one-shot.
    static std::size_t maxVoices();

    // Files decoded into memory since the program started, over all engines.
    static std::size_t decodedFileCount();
    // Files longer than this stream from disk instead of being decoded whole
    // (10 s unless changed). Applies to files not played before.
    static void setStreamThreshold(double seconds);

private:
    explicit SoundEngine(std::unique_ptr<VoiceThread> voices);

    std::unique_ptr<VoiceThread> voices_; // null when silent
};

} // namespace Skyhog::Audio
