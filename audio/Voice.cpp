#include "audio/Voice.h"

#include "audio/SoundFile.h"

#include <AL/al.h>

#include <algorithm>

namespace Skyhog::Audio {

namespace {

// A source that plays "in the head": no position, no distance fading.
unsigned newSource()
{
    ALuint source = 0;
    alGenSources(1, &source);
    // The AL error flag is shared with the other engine's worker, so a failed
    // call is told by the name it left untouched rather than by alGetError.
    if (source == 0) return 0;
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    return source;
}

} // namespace

Voice::Voice(unsigned source, bool loop) : source_(source), loop_(loop) {}

Voice::~Voice()
{
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0); // unqueues every stream buffer
    alDeleteSources(1, &source_);
    for (ALuint buffer : buffers_) {
        if (buffer != 0) alDeleteBuffers(1, &buffer);
    }
}

std::unique_ptr<Voice> Voice::fromBuffer(unsigned buffer, bool loop)
{
    const unsigned source = newSource();
    if (source == 0) return nullptr;
    std::unique_ptr<Voice> voice(new Voice(source, loop));
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    return voice;
}

std::unique_ptr<Voice> Voice::fromStream(std::unique_ptr<SoundFile> file, bool loop)
{
    const unsigned source = newSource();
    if (source == 0) return nullptr;
    std::unique_ptr<Voice> voice(new Voice(source, loop));
    voice->file_ = std::move(file);
    for (ALuint& buffer : voice->buffers_) {
        alGenBuffers(1, &buffer);
        if (buffer == 0) return nullptr;
    }
    if (!voice->startStream()) return nullptr;
    return voice;
}

bool Voice::startStream()
{
    spare_.assign(buffers_.rbegin(), buffers_.rend());
    topUp();
    if (spare_.size() == buffers_.size()) {
        SoundFile::reportUnplayable(file_->path()); // opened, but not one frame decodes
        return false;
    }
    alSourcePlay(source_);
    return true;
}

void Voice::topUp()
{
    while (!spare_.empty() && refill(spare_.back())) {
        ALuint buffer = spare_.back();
        alSourceQueueBuffers(source_, 1, &buffer);
        spare_.pop_back();
    }
}

bool Voice::refill(unsigned buffer)
{
    if (ended_) return false;
    const int channels = file_->channels();
    const auto frames = static_cast<std::size_t>(std::max(1.0, file_->sampleRate() * StreamBufferSeconds));
    pcm_.resize(frames * static_cast<std::size_t>(channels));

    std::size_t got = 0;
    bool justRewound = false;
    while (got < frames) {
        const std::size_t read = file_->read(pcm_.data() + got * channels, frames - got);
        if (read == 0) {
            // Looping carries straight on from the first frame inside this same
            // buffer, so the seam is sample-exact. A file that yields nothing
            // even from its start has ended for good.
            if (!loop_ || justRewound || !file_->rewind()) {
                ended_ = true;
                break;
            }
            justRewound = true;
            continue;
        }
        justRewound = false;
        got += read;
    }
    if (got == 0) return false;
    alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, pcm_.data(),
                 static_cast<ALsizei>(got * channels * sizeof(std::int16_t)), file_->sampleRate());
    return true;
}

bool Voice::update()
{
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (!file_) return state != AL_STOPPED;

    // The state is read first: a source that has stopped stays stopped, and
    // every buffer it had queued then counts as processed.
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        if (buffer != 0) spare_.push_back(buffer);
    }
    topUp();
    if (state == AL_PLAYING || state == AL_PAUSED) return true;

    ALint queued = 0;
    alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
    if (queued == 0) return false; // played to the end
    alSourcePlay(source_);         // ran dry before it was refilled: carry on
    return true;
}

} // namespace Skyhog::Audio
