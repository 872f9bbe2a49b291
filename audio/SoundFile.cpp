#include "audio/SoundFile.h"

#include "audio/AudioLog.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace Skyhog::Audio {

namespace {

std::int16_t toPcm16(float sample)
{
    const float clamped = std::clamp(sample, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lrint(clamped * 32767.0f));
}

} // namespace

std::unique_ptr<SoundFile> SoundFile::open(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return nullptr;
    if (info.channels <= 0 || info.samplerate <= 0) {
        sf_close(file);
        return nullptr;
    }
    return std::unique_ptr<SoundFile>(new SoundFile(path, file, info.channels, info.samplerate, info.frames));
}

void SoundFile::reportUnplayable(const std::string& path)
{
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    logLineOnce("unplayable:" + path,
                exists ? "Sound file could not be decoded: " + path : "Sound file not found: " + path);
}

SoundFile::SoundFile(std::string path, sf_private_tag* file, int fileChannels, int sampleRate, std::int64_t frames)
    : path_(std::move(path)), file_(file), fileChannels_(fileChannels), channels_(fileChannels == 2 ? 2 : 1),
      sampleRate_(sampleRate), frames_(frames)
{
}

SoundFile::~SoundFile()
{
    if (file_ != nullptr) sf_close(file_);
}

double SoundFile::seconds() const
{
    // libsndfile reports SF_COUNT_MAX for streams of unknown length.
    if (frames_ < 0 || frames_ == SF_COUNT_MAX) return -1.0;
    return static_cast<double>(frames_) / sampleRate_;
}

std::size_t SoundFile::read(std::int16_t* out, std::size_t frames)
{
    if (file_ == nullptr || frames == 0) return 0;
    scratch_.resize(frames * static_cast<std::size_t>(fileChannels_));
    const sf_count_t got = sf_readf_float(file_, scratch_.data(), static_cast<sf_count_t>(frames));
    if (got <= 0) return 0;
    const auto count = static_cast<std::size_t>(got);

    if (fileChannels_ <= 2) {
        std::transform(scratch_.begin(), scratch_.begin() + count * fileChannels_, out, toPcm16);
        return count;
    }
    for (std::size_t frame = 0; frame < count; ++frame) {
        const float* first = scratch_.data() + frame * fileChannels_;
        float sum = 0.0f;
        for (int c = 0; c < fileChannels_; ++c) sum += first[c];
        out[frame] = toPcm16(sum / static_cast<float>(fileChannels_));
    }
    return count;
}

bool SoundFile::rewind()
{
    if (file_ != nullptr && sf_seek(file_, 0, SEEK_SET) == 0) return true;

    // Some decoders cannot seek; reading the file again from the top does the same.
    if (file_ != nullptr) sf_close(file_);
    SF_INFO info{};
    file_ = sf_open(path_.c_str(), SFM_READ, &info);
    if (file_ == nullptr) return false;
    if (info.channels != fileChannels_ || info.samplerate != sampleRate_) {
        sf_close(file_);
        file_ = nullptr;
        return false;
    }
    return true;
}

} // namespace Skyhog::Audio
