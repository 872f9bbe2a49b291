#include "audio/VoiceThread.h"

#include "audio/AudioDevice.h"
#include "audio/SoundFile.h"
#include "audio/Voice.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace Skyhog::Audio {

namespace {

std::atomic<std::uint64_t> nextSoundId{1};

// Every live worker, so that they can all be stopped when the program exits:
// an engine that is never destroyed must not be left driving OpenAL while the
// library tears itself down. Deliberately never destroyed.
struct Registry {
    std::mutex mutex;
    std::vector<VoiceThread*> live;
    bool exitHookSet = false;
};

Registry& registry()
{
    static auto* shared = new Registry;
    return *shared;
}

} // namespace

VoiceThread::VoiceThread(std::shared_ptr<AudioDevice> device) : device_(std::move(device))
{
    thread_ = std::thread([this] { run(); });

    Registry& workers = registry();
    std::lock_guard lock(workers.mutex);
    if (!workers.exitHookSet) workers.exitHookSet = std::atexit(&VoiceThread::shutdownAllAtExit) == 0;
    workers.live.push_back(this);
}

VoiceThread::~VoiceThread()
{
    Registry& workers = registry();
    std::lock_guard lock(workers.mutex);
    std::erase(workers.live, this);
    shutdown();
}

void VoiceThread::shutdownAllAtExit()
{
    Registry& workers = registry();
    std::lock_guard lock(workers.mutex);
    for (VoiceThread* worker : workers.live) worker->shutdown();
}

void VoiceThread::shutdown()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        requests_.clear();
        stops_.clear();
        states_.clear();
        liveVoices_ = 0;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    device_.reset(); // the worker has released every source by now
}

std::uint64_t VoiceThread::play(const std::string& path, bool loop)
{
    std::lock_guard lock(mutex_);
    if (quit_) return 0;
    const std::uint64_t id = nextSoundId.fetch_add(1, std::memory_order_relaxed);
    requests_.push_back({id, path, loop});
    states_.emplace(id, SoundState::Starting);
    wake_.notify_one();
    return id;
}

void VoiceThread::stop(std::uint64_t id)
{
    std::lock_guard lock(mutex_);
    if (states_.erase(id) == 0) return; // unknown or already over
    const auto pending =
        std::find_if(requests_.begin(), requests_.end(), [id](const Request& request) { return request.id == id; });
    if (pending != requests_.end()) {
        requests_.erase(pending);
        return;
    }
    stops_.push_back(id);
    wake_.notify_one();
}

SoundState VoiceThread::state(std::uint64_t id) const
{
    std::lock_guard lock(mutex_);
    const auto found = states_.find(id);
    return found == states_.end() ? SoundState::Finished : found->second;
}

std::size_t VoiceThread::voiceCount() const
{
    std::lock_guard lock(mutex_);
    return liveVoices_;
}

void VoiceThread::run()
{
    std::vector<Request> requests;
    std::vector<std::uint64_t> stops;
    std::vector<std::uint64_t> started;
    std::vector<std::uint64_t> ended;

    std::unique_lock lock(mutex_);
    for (;;) {
        const auto hasWork = [this] { return quit_ || !requests_.empty() || !stops_.empty(); };
        if (voices_.empty()) wake_.wait(lock, hasWork);
        else wake_.wait_for(lock, PollInterval, hasWork);
        if (quit_) break;
        requests.swap(requests_);
        stops.swap(stops_);
        lock.unlock();

        // Stops first, so their sources are free for the new requests.
        for (const std::uint64_t id : stops) {
            std::erase_if(voices_, [id](const Playing& playing) { return playing.id == id; });
        }
        for (const Request& request : requests) {
            (start(request, ended) ? started : ended).push_back(request.id);
        }
        std::erase_if(voices_, [&ended](const Playing& playing) {
            if (playing.voice->update()) return false;
            ended.push_back(playing.id);
            return true;
        });

        lock.lock();
        for (const std::uint64_t id : started) {
            // A stop() may have come in meanwhile; it removed the state already.
            const auto found = states_.find(id);
            if (found != states_.end()) found->second = SoundState::Playing;
        }
        for (const std::uint64_t id : ended) states_.erase(id);
        liveVoices_ = voices_.size();
        requests.clear();
        stops.clear();
        started.clear();
        ended.clear();
    }
    lock.unlock();
    voices_.clear(); // stops every sound this engine started
}

bool VoiceThread::start(const Request& request, std::vector<std::uint64_t>& ended)
{
    std::unique_ptr<SoundFile> opened;
    const SoundCache::Sound sound = device_->cache().resolve(request.path, opened);
    if (sound.kind == SoundCache::Sound::Kind::Failed) return false;

    if (voices_.size() >= MaxVoices) {
        // Make room by cutting off the oldest one-shot; loops (music, the sea)
        // are never cut for an effect.
        const auto oldest = std::find_if(voices_.begin(), voices_.end(),
                                         [](const Playing& playing) { return !playing.voice->loops(); });
        if (oldest == voices_.end()) return false;
        ended.push_back(oldest->id);
        voices_.erase(oldest);
    }

    std::unique_ptr<Voice> voice;
    if (sound.kind == SoundCache::Sound::Kind::Buffer) {
        voice = Voice::fromBuffer(sound.buffer, request.loop);
    } else {
        if (!opened) opened = SoundFile::open(request.path);
        if (!opened) {
            SoundFile::reportUnplayable(request.path);
            return false;
        }
        voice = Voice::fromStream(std::move(opened), request.loop);
    }
    if (!voice) return false;
    voices_.push_back({request.id, std::move(voice)});
    return true;
}

} // namespace Skyhog::Audio
