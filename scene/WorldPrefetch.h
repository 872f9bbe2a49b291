// Reads the world's files on a second thread while the main thread opens the
// window, compiles the shaders and shows the intro picture: every model is
// imported and every picture decoded into the loaders' kept copies, so the
// world's constructor later finds them ready and only uploads to OpenGL.
//
// The worker makes no GL calls and reports nothing: a file that fails is read
// again by the world's constructor, which reports it exactly as it would have
// without the prefetch. Call finish() before constructing the World; the
// destructor stops the worker after the file in hand. A process that exits
// (std::exit) while the worker runs stops and joins it first.
#pragma once
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace Skyhog::Scene {

class WorldPrefetch {
public:
    // Starts the worker: firstPictures first (say, what is shown soonest), then the world's files.
    explicit WorldPrefetch(std::vector<std::string> firstPictures = {});
    ~WorldPrefetch();
    WorldPrefetch(const WorldPrefetch&) = delete;
    WorldPrefetch& operator=(const WorldPrefetch&) = delete;

    // Waits until every file has been read; safe to call more than once.
    void finish();
    // Stops after the file in hand and waits for the worker; safe to call more than once.
    void stop();
    // Files the worker has read so far (for tests and the benchmark).
    int filesRead() const { return filesRead_.load(); }

private:
    void work(const std::vector<std::string>& firstPictures);
    void readAll(const std::vector<std::string>& firstPictures);

    std::atomic<bool> stopping_{false};
    std::atomic<int> filesRead_{0};
    std::thread worker_;
};

} // namespace Skyhog::Scene
