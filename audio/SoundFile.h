// A sound file opened for reading through libsndfile (WAV, OGG, FLAC, MP3...),
// handed out as 16-bit PCM in one or two channels, ready for an OpenAL buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sf_private_tag;

namespace Skyhog::Audio {

class SoundFile {
public:
    // nullptr when the file is missing or not a sound libsndfile can decode.
    static std::unique_ptr<SoundFile> open(const std::string& path);
    // Says, once per path for the whole run, that a file plays nothing.
    static void reportUnplayable(const std::string& path);
    ~SoundFile();

    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    const std::string& path() const { return path_; }
    int sampleRate() const { return sampleRate_; }
    // 1 or 2: files with more channels are mixed down to mono.
    int channels() const { return channels_; }
    // Length as the file's header tells it; MP3 lengths can be estimates.
    // Negative when the length is unknown.
    double seconds() const;

    // Reads up to `frames` frames into `out` (frames * channels() samples).
    // Returns the frames read: 0 at the end of the file or on a decoding error.
    std::size_t read(std::int16_t* out, std::size_t frames);
    // Goes back to the first frame. False when the file cannot be reread.
    bool rewind();

private:
    SoundFile(std::string path, sf_private_tag* file, int fileChannels, int sampleRate, std::int64_t frames);

    std::string path_;
    sf_private_tag* file_;
    int fileChannels_;
    int channels_;
    int sampleRate_;
    std::int64_t frames_;
    std::vector<float> scratch_;
};

} // namespace Skyhog::Audio
