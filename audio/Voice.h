// One sound being played: an OpenAL source fed either by a decoded buffer from
// the cache or by a file streamed through a small ring of queued buffers.
// A voice is driven by the engine's worker thread alone.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Skyhog::Audio {

class SoundFile;

class Voice {
public:
    // Both return nullptr when no source is free (OpenAL caps the number of
    // sources) or a stream has nothing to play; nothing is left behind then.
    static std::unique_ptr<Voice> fromBuffer(unsigned buffer, bool loop);
    static std::unique_ptr<Voice> fromStream(std::unique_ptr<SoundFile> file, bool loop);

    // Stops the sound and releases its source and stream buffers.
    ~Voice();
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    // Keeps a stream's queue topped up and restarts it after an underrun.
    // False once the voice has played to its end.
    bool update();
    bool loops() const { return loop_; }

    // Each stream buffer holds this much sound; the queue holds StreamBuffers.
    static constexpr double StreamBufferSeconds = 0.25;
    static constexpr int StreamBuffers = 4;

private:
    Voice(unsigned source, bool loop);
    bool startStream();
    // Queues every spare buffer the stream can fill.
    void topUp();
    // Fills one buffer with the next stretch of the stream, wrapping to the
    // start when looping. False when the stream has nothing more to give.
    bool refill(unsigned buffer);

    unsigned source_;
    bool loop_;

    // Streaming only.
    std::unique_ptr<SoundFile> file_;
    std::array<unsigned, StreamBuffers> buffers_{};
    std::vector<unsigned> spare_; // buffers not queued on the source
    std::vector<std::int16_t> pcm_;
    bool ended_ = false; // the file has been read to its end for good
};

} // namespace Skyhog::Audio
