// The benchmark run: starts the real game in a hidden window, flies the
// scripted route at a fixed time step while measuring every frame, then
// measures the floor (the same five targets only cleared, and swapped) and
// the hit test, and reports everything as one JSON object. A timed run then
// adds the flat floor: the same frames of the route with flat fragment stages.
// With --shots, the frames of ShotFrames are saved as pictures.
//
// Timed run: `frames` frames of the route. Soak run: the route on a loop with
// the stream held for the given minutes; the first lap is the warm-up, then
// each whole lap gives one sample of memory and frame time, for their trends.
#pragma once
#include "GpuTimer.h"
#include "Json.h"
#include "Options.h"
#include "Route.h"
#include "app/Application.h"
#include "app/FrameLoop.h"
#include "game/HitTest.h"
#include "render/RenderPass.h"

#include <array>
#include <chrono>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace Skyhog::Bench {

// The benchmark runs the game's own frame (FrameLoop) and sees it only
// through the frame hooks: its fixed-step clock and a GPU timer query
// around each pass.
class Benchmark : private App::FrameHooks {
public:
    using Clock = std::chrono::steady_clock;

    // mainStarted: when main() began, the fallback origin for the start-up time.
    Benchmark(const Options& options, Clock::time_point mainStarted);
    ~Benchmark() override;
    Benchmark(const Benchmark&) = delete;
    Benchmark& operator=(const Benchmark&) = delete;

    // Runs everything and returns the report; the game is shut down afterwards.
    JsonObject run();

    // The five passes in the order the game draws them.
    static constexpr const auto& PassNames = App::FrameLoop::PassOrder;
    static constexpr double TimeStep = 1.0 / 60.0;
    // Frames flown before steadyFrame takes over: the driver compiles each
    // shader variant the first time it is drawn.
    static constexpr long WarmUpFrames = 5;

private:
    struct FrameRecord {
        std::vector<double> wallMs, cpuMs, swapMs, gpuMs;
        std::array<std::vector<double>, PassNames.size()> passMs;
        long winFrames = 0;
    };
    struct SoakSamples {
        std::vector<double> minutes, rssMb, frameMs;
        double warmupSeconds = 0.0;
    };

    void startUp();
    // One frame of the route, measured into record; returns its wall time in
    // milliseconds. Only the route's own record (frames_) counts frames and takes shots.
    double flyFrame(long frame, bool holdStream, FrameRecord& record);
    // With --shots, saves the finished frame when it is one of ShotFrames.
    void saveShot(long frame);
    // The flat floor: the route's frames again with every fragment stage
    // flat; adds its median frame, the frame's ratio to it and its passes.
    void addFlatFloor(JsonObject& out);
    // The frame hooks: the route's clock, wall time for the frames-per-second
    // text, and a timer query around each pass.
    double now() override { return now_; }
    double secondsSince(double frameStart) override;
    void beforePass(std::size_t index) override;
    void afterPass(std::size_t index) override;
    // The floor: every target cleared, nothing drawn, then the swap.
    double clearOnlyFrame();
    void flyTimed();
    // A frame after the first few, whose shaders the driver has already
    // compiled. Kept out of line so a profiler can count only these:
    // valgrind --tool=callgrind --toggle-collect='*Benchmark::steadyFrame*'
    [[gnu::noinline]] double steadyFrame(long frame, bool holdStream);
    void flySoak();
    struct HitTestTiming {
        double current = 0.0; // microseconds per call with the people and positions as they are
        double worst = 0.0;   // every person at the pig's depth, a full pool never hitting
        int people = 0, positions = 0;
    };
    HitTestTiming timeHitTest();
    // Calls the hit test for at least 0.2 s; the average time per call.
    double microsecondsPerHitTest(const Game::Box& pig, std::span<const Game::Box> people,
                                  std::span<const glm::vec3> positions);
    JsonObject report(double floorMs, const HitTestTiming& hitTest);

    Options options_;
    Clock::time_point mainStarted_;
    Route route_;
    std::unique_ptr<App::Application> app_;
    std::unique_ptr<App::FrameLoop> loop_;
    std::unique_ptr<GpuTimer> gpuTimer_;
    double now_ = 0.0;               // the route's clock in seconds
    Clock::time_point frameStarted_; // when the current frame began, in wall time
    FrameRecord frames_;
    SoakSamples soak_;
    long framesFlown_ = 0;
    double startupMs_ = 0.0, startupFromMainMs_ = 0.0;
    double rssStartMb_ = 0.0, rssEndMb_ = 0.0;
    std::vector<double> floorMs_;
    volatile std::size_t hitSink_ = 0;
};

} // namespace Skyhog::Bench
