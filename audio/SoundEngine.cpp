#include "audio/SoundEngine.h"

#include "audio/AudioDevice.h"
#include "audio/AudioLog.h"
#include "audio/SoundCache.h"
#include "audio/VoiceThread.h"

#include <exception>

namespace Skyhog::Audio {

std::unique_ptr<SoundEngine> SoundEngine::create()
{
    try {
        std::string whyNot;
        std::shared_ptr<AudioDevice> device = AudioDevice::acquire(whyNot);
        if (!device) {
            // Both game engines find the same missing device; say it once.
            logLineOnce("sound-off", whyNot + ": sound is off");
            return std::unique_ptr<SoundEngine>(new SoundEngine(nullptr));
        }
        return std::unique_ptr<SoundEngine>(new SoundEngine(std::make_unique<VoiceThread>(std::move(device))));
    } catch (const std::exception& error) {
        logLine(std::string("The sound engine could not be made: ") + error.what());
        return nullptr;
    }
}

SoundEngine::SoundEngine(std::unique_ptr<VoiceThread> voices) : voices_(std::move(voices)) {}

SoundEngine::~SoundEngine() = default;

SoundHandle SoundEngine::play2D(const std::string& path, bool loop)
{
    if (!voices_) return {};
    return {voices_->play(path, loop)};
}

void SoundEngine::stop(SoundHandle sound)
{
    if (voices_ && sound) voices_->stop(sound.id);
}

SoundState SoundEngine::state(SoundHandle sound) const
{
    if (!voices_ || !sound) return SoundState::Finished;
    return voices_->state(sound.id);
}

std::size_t SoundEngine::voiceCount() const
{
    return voices_ ? voices_->voiceCount() : 0;
}

std::size_t SoundEngine::maxVoices()
{
    return VoiceThread::MaxVoices;
}

std::size_t SoundEngine::decodedFileCount()
{
    return SoundCache::decodedFileCount();
}

void SoundEngine::setStreamThreshold(double seconds)
{
    SoundCache::setStreamThreshold(seconds);
}

} // namespace Skyhog::Audio
