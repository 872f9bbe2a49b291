// An engine's worker thread and the voices it plays. The game's thread only
// posts requests (play, stop) and reads states; the worker opens and decodes
// files, owns every OpenAL source of its engine, keeps streams fed and reclaims
// voices that have finished. Destroying it stops all of its voices.
#pragma once

#include "audio/SoundHandle.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace Skyhog::Audio {

class AudioDevice;
class Voice;

class VoiceThread {
public:
    // Starts the worker; throws std::system_error when no thread can be made.
    explicit VoiceThread(std::shared_ptr<AudioDevice> device);
    ~VoiceThread();

    VoiceThread(const VoiceThread&) = delete;
    VoiceThread& operator=(const VoiceThread&) = delete;

    // Queues a sound and returns its id at once (0 once the program is exiting).
    std::uint64_t play(const std::string& path, bool loop);
    void stop(std::uint64_t id);
    SoundState state(std::uint64_t id) const;
    // Voices that hold a source right now.
    std::size_t voiceCount() const;

    // Voices one engine keeps at most; past that the oldest one-shot is cut off.
    static constexpr std::size_t MaxVoices = 64;
    // How often the worker looks at its voices while any is playing.
    static constexpr std::chrono::milliseconds PollInterval{20};

private:
    struct Request {
        std::uint64_t id;
        std::string path;
        bool loop;
    };
    struct Playing {
        std::uint64_t id;
        std::unique_ptr<Voice> voice;
    };

    void run();
    // Starts one request; false when it plays nothing.
    bool start(const Request& request, std::vector<std::uint64_t>& ended);
    // Stops the worker, its voices and lets go of the device. Idempotent; runs
    // under the registry lock (see VoiceThread.cpp).
    void shutdown();
    static void shutdownAllAtExit();

    std::shared_ptr<AudioDevice> device_;

    mutable std::mutex mutex_; // guards everything down to voices_
    std::condition_variable wake_;
    bool quit_ = false;
    std::vector<Request> requests_;
    std::vector<std::uint64_t> stops_;
    std::unordered_map<std::uint64_t, SoundState> states_; // requested or playing
    std::size_t liveVoices_ = 0;

    std::vector<Playing> voices_; // the worker's alone, oldest first
    std::thread thread_;
};

} // namespace Skyhog::Audio
