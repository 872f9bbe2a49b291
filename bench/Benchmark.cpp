#include "Benchmark.h"

#include "FlatShading.h"
#include "Probe.h"
#include "Quiet.h"
#include "Shots.h"
#include "Stats.h"
#include "game/HitTest.h"
#include "game/ParticlePool.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>
#include <string>

namespace Skyhog::Bench {
namespace {

double millisecondsBetween(Benchmark::Clock::time_point from, Benchmark::Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

Benchmark::Benchmark(const Options& options, Clock::time_point mainStarted)
    : options_(options), mainStarted_(mainStarted), route_(Route::standard())
{
}

Benchmark::~Benchmark()
{
    gpuTimer_.reset(); // its queries go before the context does
    loop_.reset();
    if (app_) app_->shutdown();
}

void Benchmark::startUp()
{
    app_ = std::make_unique<App::Application>(WindowSize(options_.width, options_.height));
    app_->openWindow(false);
    glfwSwapInterval(0); // never wait for a display refresh
    app_->startScene();
    app_->camera().onCursor(Route::CursorStartX, Route::CursorStartY, true);
    App::FrameHooks& hooks = *this;
    loop_ =
        std::make_unique<App::FrameLoop>(app_->world(), app_->camera(), app_->renderer(), app_->winPicture(), hooks);
    gpuTimer_ = std::make_unique<GpuTimer>(static_cast<int>(PassNames.size()));
    rssStartMb_ = Probe::residentMegabytes();
}

JsonObject Benchmark::run()
{
    startUp();
    if (options_.soakMinutes > 0.0) flySoak();
    else flyTimed();

    for (int n = 0; n < options_.frames; ++n) floorMs_.push_back(clearOnlyFrame());
    const HitTestTiming hitTest = timeHitTest();
    rssEndMb_ = Probe::residentMegabytes();
    JsonObject out = report(median(floorMs_), hitTest);
    // Last, so that the score, the people and the memory above are the route's own.
    if (options_.soakMinutes <= 0.0) addFlatFloor(out);
    return out;
}

double Benchmark::flyFrame(long frame, bool holdStream, FrameRecord& record)
{
    const Clock::time_point started = Clock::now();
    const double cpuStarted = Probe::threadCpuSeconds();
    frameStarted_ = started;
    now_ = static_cast<double>(frame + 1) * TimeStep;
    const RouteStep step = route_.at(frame, holdStream);

    loop_->step([&] {
        if (step.cursorMoved) app_->camera().onCursor(step.cursorX, step.cursorY, false);
        return step.keys;
    });
    const bool passes = app_->renderer().running();
    loop_->render(now_);
    const double cpuIssued = Probe::threadCpuSeconds();

    glFinish();
    const Clock::time_point finished = Clock::now();
    if (&record == &frames_) saveShot(frame);
    const Clock::time_point swapStarted = Clock::now(); // a shot's read-back is left out of the frame
    glfwSwapBuffers(app_->window());
    const Clock::time_point swapped = Clock::now();

    if (&record == &frames_ && framesFlown_ == 0) {
        startupFromMainMs_ = millisecondsBetween(mainStarted_, swapped);
        const double sinceProcessStart = Probe::secondsSinceProcessStart() * 1000.0;
        // The kernel's start time counts in ticks; take it when it is plausible.
        startupMs_ = sinceProcessStart >= startupFromMainMs_ - 20.0 ? sinceProcessStart : startupFromMainMs_;
    }
    if (&record == &frames_) ++framesFlown_;

    const double wallMs = millisecondsBetween(started, finished) + millisecondsBetween(swapStarted, swapped);
    record.wallMs.push_back(wallMs);
    record.cpuMs.push_back((cpuIssued - cpuStarted) * 1000.0);
    record.swapMs.push_back(millisecondsBetween(swapStarted, swapped));
    if (passes) {
        const std::vector<double> passMs = gpuTimer_->collect();
        double total = 0.0;
        for (std::size_t i = 0; i < passMs.size(); ++i) {
            record.passMs[i].push_back(passMs[i]);
            total += passMs[i];
        }
        record.gpuMs.push_back(total);
    } else {
        ++record.winFrames;
    }
    return wallMs;
}

void Benchmark::saveShot(long frame)
{
    if (options_.shotsDir.empty()) return;
    if (std::find(ShotFrames.begin(), ShotFrames.end(), frame) == ShotFrames.end()) return;
    const std::string error = saveBackBuffer(shotPath(options_.shotsDir, frame), options_.width, options_.height);
    if (!error.empty()) std::cerr << "skyhog-bench: " << error << '\n';
}

void Benchmark::addFlatFloor(JsonObject& out)
{
    FrameRecord flat;
    {
        FlatShading flatShading(app_->shaders());
        if (!flatShading.error().empty()) {
            std::cerr << "skyhog-bench: " << flatShading.error() << "; no flat floor\n";
            return;
        }
        // The route again from the start of a lap, so the flat frames show
        // the same views as the measured ones. The frames before it also let
        // the driver compile the flat programs.
        const long lap = route_.lapFrames();
        const long first = (options_.frames + WarmUpFrames + lap - 1) / lap * lap;
        FrameRecord approach;
        for (long frame = options_.frames; frame < first; ++frame) flyFrame(frame, false, approach);
        for (long frame = first; frame < first + options_.frames; ++frame) flyFrame(frame, false, flat);
    }
    JsonObject passes;
    for (std::size_t i = 0; i < PassNames.size(); ++i) passes.add(std::string(PassNames[i]), median(flat.passMs[i]));
    const double flatMedian = median(flat.wallMs);
    out.add("flat_floor_ms", flatMedian)
        .add("flat_ratio", flatMedian > 0.0 ? median(frames_.wallMs) / flatMedian : 0.0)
        .add("flat_gpu_pass_ms", passes);
}

double Benchmark::secondsSince(double /*frameStart*/)
{
    return millisecondsBetween(frameStarted_, Clock::now()) / 1000.0;
}

void Benchmark::beforePass(std::size_t index)
{
    gpuTimer_->begin(static_cast<int>(index));
}

void Benchmark::afterPass(std::size_t /*index*/)
{
    gpuTimer_->end();
}

double Benchmark::clearOnlyFrame()
{
    const Clock::time_point started = Clock::now();
    const GLuint targets[] = {app_->world().getReflectionFramebuffer(), app_->world().getRefractionFramebuffer(),
                              app_->renderer().getMapFramebuffer(), app_->renderer().getShadowFramebuffer(), 0};
    for (const GLuint target : targets) {
        glBindFramebuffer(GL_FRAMEBUFFER, target);
        App::FrameLoop::clearWithSky();
    }
    glFinish();
    glfwSwapBuffers(app_->window());
    return millisecondsBetween(started, Clock::now());
}

void Benchmark::flyTimed()
{
    for (long frame = 0; frame < options_.frames; ++frame) {
        if (frame < WarmUpFrames) flyFrame(frame, false, frames_);
        else steadyFrame(frame, false);
    }
}

double Benchmark::steadyFrame(long frame, bool holdStream)
{
    return flyFrame(frame, holdStream, frames_);
}

void Benchmark::flySoak()
{
    // The first lap is the warm-up: it shows the driver every view and state
    // of the route once, and the driver's shader variants and caches grow as
    // those first appear. After it, one sample per whole lap (the lap's median
    // frame time, resident memory at its end), so that what happens to be in
    // view does not read as a trend. A lap cut short by the end is dropped.
    const double seconds = options_.soakMinutes * 60.0;
    const long lap = route_.lapFrames();
    soak_.warmupSeconds = seconds;
    const Clock::time_point started = Clock::now();
    std::vector<double> lapMs;
    lapMs.reserve(static_cast<std::size_t>(lap));
    for (long frame = 0;; ++frame) {
        const double frameMs = frame < WarmUpFrames ? flyFrame(frame, true, frames_) : steadyFrame(frame, true);
        const double elapsed = millisecondsBetween(started, Clock::now()) / 1000.0;
        if (frame >= lap) lapMs.push_back(frameMs);
        if ((frame + 1) % lap == 0) {
            if (frame + 1 == lap) {
                soak_.warmupSeconds = elapsed;
            } else {
                soak_.minutes.push_back(elapsed / 60.0);
                soak_.rssMb.push_back(Probe::residentMegabytes());
                soak_.frameMs.push_back(median(lapMs));
                lapMs.clear();
            }
        }
        if (elapsed >= seconds) break;
    }
    if (soak_.minutes.size() < 2) {
        std::cerr << "skyhog-bench: the soak sampled " << soak_.minutes.size()
                  << " whole lap(s) after the warm-up lap; trends need at least 2, so the slopes read 0"
                  << " (give it more minutes)\n";
    }
}

double Benchmark::microsecondsPerHitTest(const Game::Box& pig, std::span<const Game::Box> people,
                                         std::span<const glm::vec3> positions)
{
    NullStream log;
    constexpr int Batch = 1000;
    long calls = 0;
    std::size_t hits = 0;
    const Clock::time_point started = Clock::now();
    double elapsedMs = 0.0;
    do {
        for (int n = 0; n < Batch; ++n) hits += Game::findHit(pig, people, positions, log).has_value() ? 1 : 0;
        calls += Batch;
        elapsedMs = millisecondsBetween(started, Clock::now());
    } while (elapsedMs < 200.0);
    hitSink_ = hits; // keeps the calls' results observable
    return elapsedMs * 1000.0 / static_cast<double>(calls);
}

Benchmark::HitTestTiming Benchmark::timeHitTest()
{
    Scene::World& world = app_->world();
    HitTestTiming timing;
    const Game::Box pig = Game::boxFromCorners(world.pig().worldMin(), world.pig().worldMax());
    std::vector<Game::Box> people;
    for (Scene::Model* person : world.people())
        people.push_back(Game::boxFromCorners(person->worldMin(), person->worldMax()));
    const std::vector<glm::vec3>& recorded = app_->particles().recordedPositions();
    timing.people = static_cast<int>(people.size());
    timing.positions = static_cast<int>(recorded.size());
    timing.current = microsecondsPerHitTest(pig, people, recorded);

    // The most work one call can do: every person at the pig's depth and a full
    // pool of positions inside each box in x and z but above it, so nothing is hit.
    Game::Box everywhere = pig;
    everywhere.min.z = -1e9f;
    everywhere.max.z = 1e9f;
    std::vector<glm::vec3> above;
    if (!people.empty()) {
        const glm::vec3 centre = (people.front().min + people.front().max) * 0.5f;
        above.assign(Game::ParticlePool::MaxParticles, glm::vec3(centre.x, 1e6f, centre.z));
    }
    timing.worst = microsecondsPerHitTest(everywhere, people, above);
    return timing;
}

JsonObject Benchmark::report(double floorMs, const HitTestTiming& hitTest)
{
    const App::StartupTimes& times = app_->startupTimes();
    JsonObject parts;
    parts.add("window", times.window * 1000.0)
        .add("shaders", times.shaders * 1000.0)
        .add("pictures", times.pictures * 1000.0)
        .add("sound", times.sound * 1000.0)
        .add("world", times.world * 1000.0)
        .add("camera", times.camera * 1000.0)
        .add("renderer", times.renderer * 1000.0);
    JsonObject passes;
    for (std::size_t i = 0; i < PassNames.size(); ++i) passes.add(std::string(PassNames[i]), median(frames_.passMs[i]));

    const double frameMedian = median(frames_.wallMs);
    JsonObject out;
    out.add("mode", std::string(options_.soakMinutes > 0.0 ? "soak" : "timed"))
        .add("frames", static_cast<long long>(framesFlown_))
        .add("width", options_.width)
        .add("height", options_.height)
        .add("startup_ms", startupMs_)
        .add("startup_from_main_ms", startupFromMainMs_)
        .add("startup_parts_ms", parts)
        .add("frame_ms_median", frameMedian)
        .add("frame_ms_p95", percentile(frames_.wallMs, 95.0))
        .add("cpu_ms_per_frame", median(frames_.cpuMs))
        .add("swap_ms_median", median(frames_.swapMs))
        .add("gpu_pass_ms", passes)
        .add("gpu_frame_ms_median", median(frames_.gpuMs))
        .add("floor_ms", floorMs)
        .add("floor_frames", static_cast<long long>(floorMs_.size()))
        .add("ratio", floorMs > 0.0 ? frameMedian / floorMs : 0.0)
        .add("rss_start_mb", rssStartMb_)
        .add("rss_end_mb", rssEndMb_)
        .add("recorded_positions", static_cast<long long>(app_->particles().recordedPositions().size()))
        .add("hit_test_us_per_call", hitTest.current, 4)
        .add("hit_test_people", hitTest.people)
        .add("hit_test_positions", hitTest.positions)
        .add("hit_test_worst_us_per_call", hitTest.worst, 4)
        .add("score", app_->renderer().score())
        .add("people_left", static_cast<long long>(app_->world().people().size()))
        .add("win_frames", static_cast<long long>(frames_.winFrames))
        .add("route_lap_frames", static_cast<long long>(route_.lapFrames()));
    if (options_.soakMinutes > 0.0) {
        out.add("soak_minutes", options_.soakMinutes)
            .add("soak_warmup_s", soak_.warmupSeconds)
            .add("soak_samples", static_cast<long long>(soak_.minutes.size()))
            .add("rss_slope_mb_per_min", leastSquaresSlope(soak_.minutes, soak_.rssMb), 4)
            .add("frame_slope_ms_per_min", leastSquaresSlope(soak_.minutes, soak_.frameMs), 4)
            .add("soak_lap_minutes", soak_.minutes, 2)
            .add("soak_lap_rss_mb", soak_.rssMb)
            .add("soak_lap_frame_ms", soak_.frameMs);
    }
    return out;
}

} // namespace Skyhog::Bench
