#include "DataLocation.h"

#include <filesystem>
#include <system_error>
#include <vector>

#ifndef SKYHOG_BUILD_DIR
#define SKYHOG_BUILD_DIR ""
#endif

namespace Skyhog::Bench {
namespace {

namespace fs = std::filesystem;

bool holdsDataTree(const fs::path& root)
{
    std::error_code error;
    return fs::is_directory(root / "Skyhog" / "Models", error) && fs::is_directory(root / "Skyhog" / "Shaders", error);
}

// The build root two levels above this executable (<build>/bench/skyhog-bench).
fs::path besideExecutable()
{
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return executable.parent_path().parent_path();
}

} // namespace

DataLocation findDataRoot(const std::string& dataRoot)
{
    DataLocation location;
    std::error_code error;
    if (!dataRoot.empty()) {
        const fs::path root = fs::absolute(dataRoot, error);
        if (error || !fs::is_directory(root, error)) {
            location.error = "--data-root: no such folder '" + dataRoot + "'";
        } else if (!holdsDataTree(root)) {
            location.error = "--data-root: '" + dataRoot + "' has no Skyhog/Models and Skyhog/Shaders folders";
        } else {
            location.root = root.lexically_normal().string();
            return location;
        }
        location.badArgument = true;
        return location;
    }

    std::vector<fs::path> candidates;
    if (const std::string built = SKYHOG_BUILD_DIR; !built.empty()) candidates.emplace_back(built);
    if (const fs::path beside = besideExecutable(); !beside.empty()) candidates.push_back(beside);
    for (const fs::path& candidate : candidates) {
        if (holdsDataTree(candidate)) {
            location.root = candidate.lexically_normal().string();
            return location;
        }
    }
    std::string looked;
    for (const fs::path& candidate : candidates) looked += " " + (candidate / "Skyhog").string();
    location.error = "no game data found (looked in" + looked +
        "); build the skyhog_data and skyhog_shaders targets or pass --data-root DIR";
    return location;
}

std::string enterRunFolder(const std::string& root)
{
    const fs::path runFolder = fs::path(root) / "run" / "game";
    std::error_code error;
    fs::create_directories(runFolder, error);
    if (error) return "cannot create " + runFolder.string() + ": " + error.message();
    fs::current_path(runFolder, error);
    if (error) return "cannot enter " + runFolder.string() + ": " + error.message();
    return {};
}

} // namespace Skyhog::Bench
