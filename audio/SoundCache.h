// Every sound file played on the output device, decoded once and kept as an
// OpenAL buffer for as long as the device is open. Short sounds (the pain cry)
// are played from memory again and again; long ones (music) are only marked as
// streamed and read from disk by each voice that plays them.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Skyhog::Audio {

class SoundFile;

class SoundCache {
public:
    struct Sound {
        enum class Kind { Buffer, Stream, Failed };
        Kind kind = Kind::Failed;
        unsigned buffer = 0; // AL buffer name when kind == Buffer
    };

    SoundCache() = default;
    // Deletes the buffers: no source may still play one, and the device's
    // context must still be current.
    ~SoundCache();

    SoundCache(const SoundCache&) = delete;
    SoundCache& operator=(const SoundCache&) = delete;

    // What `path` plays as. The first call for a path opens and, for a short
    // sound, decodes it; this can take a while and belongs on a worker thread.
    // Later calls for the path return at once (a second thread asking for a path
    // being decoded waits for that decode). When this call opened a file that
    // streams, `opened` receives it so the caller need not open it again.
    // Unplayable files are reported once and resolve to Failed.
    Sound resolve(const std::string& path, std::unique_ptr<SoundFile>& opened);

    // Files decoded into buffers since the program started, over all devices.
    static std::size_t decodedFileCount();
    // Files longer than this many seconds stream instead of being decoded whole.
    static void setStreamThreshold(double seconds);
    static double streamThreshold();

private:
    struct Entry {
        std::mutex mutex;
        bool resolved = false;
        Sound sound;
    };

    std::mutex mutex_; // guards entries_, not the entries themselves
    std::unordered_map<std::string, std::shared_ptr<Entry>> entries_;
};

} // namespace Skyhog::Audio
