#include "audio/SoundCache.h"

#include "audio/SoundFile.h"

#include <AL/al.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace Skyhog::Audio {

namespace {

std::atomic<std::size_t> decodeCounter{0};
std::atomic<double> streamSeconds{10.0};

// Decodes the whole file into one AL buffer; 0 when nothing could be decoded.
unsigned decodeToBuffer(SoundFile& file)
{
    constexpr std::size_t chunkFrames = 16384;
    const auto channels = static_cast<std::size_t>(file.channels());
    std::vector<std::int16_t> pcm;
    std::size_t frames = 0;
    for (;;) {
        pcm.resize((frames + chunkFrames) * channels);
        const std::size_t got = file.read(pcm.data() + frames * channels, chunkFrames);
        frames += got;
        if (got == 0) break;
    }
    if (frames == 0) return 0;

    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (buffer == 0) return 0;
    const ALenum format = channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alBufferData(buffer, format, pcm.data(), static_cast<ALsizei>(frames * channels * sizeof(std::int16_t)),
                 file.sampleRate());
    // The error flag is shared with other threads, so check the result instead.
    ALint size = 0;
    alGetBufferi(buffer, AL_SIZE, &size);
    if (size <= 0) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    decodeCounter.fetch_add(1, std::memory_order_relaxed);
    return buffer;
}

} // namespace

SoundCache::~SoundCache()
{
    for (auto& [path, entry] : entries_) {
        if (entry->sound.kind == Sound::Kind::Buffer) {
            ALuint buffer = entry->sound.buffer;
            alDeleteBuffers(1, &buffer);
        }
    }
}

SoundCache::Sound SoundCache::resolve(const std::string& path, std::unique_ptr<SoundFile>& opened)
{
    std::shared_ptr<Entry> entry;
    {
        std::lock_guard lock(mutex_);
        auto& slot = entries_[path];
        if (!slot) slot = std::make_shared<Entry>();
        entry = slot;
    }

    std::lock_guard lock(entry->mutex);
    if (entry->resolved) return entry->sound;
    entry->resolved = true;

    auto file = SoundFile::open(path);
    if (!file) {
        SoundFile::reportUnplayable(path);
        return entry->sound; // Failed
    }
    const double seconds = file->seconds();
    if (seconds < 0.0 || seconds > streamThreshold()) {
        entry->sound.kind = Sound::Kind::Stream;
        opened = std::move(file);
        return entry->sound;
    }
    const unsigned buffer = decodeToBuffer(*file);
    if (buffer == 0) {
        SoundFile::reportUnplayable(path);
        return entry->sound;
    }
    entry->sound = Sound{Sound::Kind::Buffer, buffer};
    return entry->sound;
}

std::size_t SoundCache::decodedFileCount()
{
    return decodeCounter.load(std::memory_order_relaxed);
}

void SoundCache::setStreamThreshold(double seconds)
{
    streamSeconds.store(seconds, std::memory_order_relaxed);
}

double SoundCache::streamThreshold()
{
    return streamSeconds.load(std::memory_order_relaxed);
}

} // namespace Skyhog::Audio
