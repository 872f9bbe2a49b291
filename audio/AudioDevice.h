// The process's one OpenAL output device and context. OpenAL has a single
// current context per process, so every engine shares this object: the first
// engine opens the device, the last one to let go closes it. The decoded-sound
// cache lives here too, because AL buffers belong to the device.
#pragma once

#include "audio/SoundCache.h"

#include <memory>
#include <string>

// The names alc.h gives its opaque device and context types.
struct ALCdevice_struct;
struct ALCcontext_struct;

namespace Skyhog::Audio {

class AudioDevice {
public:
    // The shared device, opened if nobody holds it yet. nullptr when there is
    // no output device or it cannot be started; `whyNot` then says which.
    static std::shared_ptr<AudioDevice> acquire(std::string& whyNot);

    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    SoundCache& cache() { return *cache_; }

private:
    AudioDevice(ALCdevice_struct* device, ALCcontext_struct* context);

    ALCdevice_struct* device_;
    ALCcontext_struct* context_;
    std::unique_ptr<SoundCache> cache_;
};

} // namespace Skyhog::Audio
