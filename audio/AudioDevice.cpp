#include "audio/AudioDevice.h"

#include "audio/QuietLibraries.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <condition_variable>
#include <mutex>

namespace Skyhog::Audio {

namespace {

// Deliberately never destroyed: an engine kept in a static may let go of the
// device during static destruction, after function-local statics are gone.
struct Shared {
    std::mutex mutex;
    std::condition_variable closed;
    std::weak_ptr<AudioDevice> device;
    bool open = false; // still true while the last owner is closing it
};

Shared& shared()
{
    static auto* state = new Shared;
    return *state;
}

} // namespace

std::shared_ptr<AudioDevice> AudioDevice::acquire(std::string& whyNot)
{
    Shared& state = shared();
    std::unique_lock lock(state.mutex);
    if (auto device = state.device.lock()) return device;
    // The last owner may be closing the device on another thread right now;
    // OpenAL's one current context means the next device must wait for that.
    state.closed.wait(lock, [&] { return !state.open; });

    quietSoundLibraries();
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr) {
        whyNot = "No sound output device found";
        return nullptr;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
        if (context != nullptr) alcDestroyContext(context);
        alcCloseDevice(device);
        whyNot = "The sound output device could not be started";
        return nullptr;
    }

    std::shared_ptr<AudioDevice> opened(new AudioDevice(device, context), [](AudioDevice* dying) {
        delete dying;
        Shared& state = shared();
        std::lock_guard closing(state.mutex);
        state.open = false;
        state.closed.notify_all();
    });
    state.device = opened;
    state.open = true;
    return opened;
}

AudioDevice::AudioDevice(ALCdevice_struct* device, ALCcontext_struct* context)
    : device_(device), context_(context), cache_(std::make_unique<SoundCache>())
{
}

AudioDevice::~AudioDevice()
{
    cache_.reset(); // its buffers need the context
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

} // namespace Skyhog::Audio
