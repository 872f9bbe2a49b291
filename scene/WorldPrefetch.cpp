#include "scene/WorldPrefetch.h"

#include "render/Model.h"
#include "render/TextureLoader.h"
#include "scene/World.h"

#include <cstdlib>
#include <mutex>

namespace Skyhog::Scene {
namespace {

// The prefetch whose worker may still run. std::exit destroys statics while
// other threads go on, so an exit hook stops and joins the worker first.
std::mutex activeLock;
WorldPrefetch* active = nullptr;

void stopActiveAtExit()
{
    const std::lock_guard<std::mutex> guard(activeLock);
    if (active != nullptr) active->stop();
}

} // namespace

WorldPrefetch::WorldPrefetch(std::vector<std::string> firstPictures)
{
    static const bool hookInstalled = std::atexit(stopActiveAtExit) == 0;
    (void)hookInstalled;
    {
        const std::lock_guard<std::mutex> guard(activeLock);
        active = this;
    }
    worker_ = std::thread([this, pictures = std::move(firstPictures)] { work(pictures); });
}

WorldPrefetch::~WorldPrefetch()
{
    stop();
    const std::lock_guard<std::mutex> guard(activeLock);
    if (active == this) active = nullptr;
}

void WorldPrefetch::work(const std::vector<std::string>& firstPictures)
{
    try {
        readAll(firstPictures);
    } catch (...) {
        // Whatever failed here is read again, and reported, by the world's constructor.
    }
}

void WorldPrefetch::readAll(const std::vector<std::string>& firstPictures)
{
    auto read = [&](auto&& load) {
        if (stopping_.load()) return false;
        load();
        filesRead_.fetch_add(1);
        return true;
    };
    for (const std::string& picture : firstPictures) {
        if (!read([&] { prepareImage(picture); })) return;
    }
    const World::Files files = World::files();
    std::vector<std::string> materials;
    for (const std::string& model : files.models) {
        if (!read([&] {
                for (std::string& picture : Model::prepareFile(model)) materials.push_back(std::move(picture));
            })) {
            return;
        }
    }
    materials.insert(materials.end(), files.pictures.begin(), files.pictures.end());
    for (const std::string& picture : materials) {
        if (!read([&] { prepareImage(picture); })) return;
    }
}

void WorldPrefetch::finish()
{
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

void WorldPrefetch::stop()
{
    stopping_.store(true);
    finish();
}

} // namespace Skyhog::Scene
