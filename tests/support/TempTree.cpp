#include "tests/support/TempTree.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace SkyhogTest {
namespace fs = std::filesystem;

TempTree::TempTree() : previous_(fs::current_path())
{
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("skyhog-test-" + std::to_string(device()));
        if (fs::create_directory(candidate)) {
            root_ = candidate;
            return;
        }
    }
    throw std::runtime_error("could not create a temporary folder");
}

TempTree::~TempTree()
{
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    fs::remove_all(root_, ignored);
}

fs::path TempTree::write(const std::string& relative, const std::string& contents) const
{
    const fs::path target = root_ / relative;
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << contents;
    return target;
}

void TempTree::copy(const fs::path& from, const std::string& relative, bool link) const
{
    const fs::path target = root_ / relative;
    fs::create_directories(target.parent_path());
    if (link) fs::create_symlink(fs::absolute(from), target);
    else fs::copy(from, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void TempTree::enterWorkDir() const
{
    fs::create_directories(root_ / "run" / "work");
    fs::current_path(root_ / "run" / "work");
}

fs::path buildDataTree()
{
    return fs::absolute(SKYHOG_DATA_DIR_FOR_TESTS);
}

} // namespace SkyhogTest
