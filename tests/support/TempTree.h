// A scratch folder for tests that write files, with helpers to lay out a
// private data tree: files go under <root>/Skyhog/..., and enterWorkDir()
// changes into <root>/run/work so that "../../Skyhog/" resolves to it.
// The previous working directory is restored and the folder removed on exit.
#pragma once
#include <filesystem>
#include <string>

namespace SkyhogTest {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // root/relative as text, for code that takes file names.
    std::string path(const std::string& relative) const { return (root_ / relative).string(); }
    // Writes text to root/relative, creating folders.
    std::filesystem::path write(const std::string& relative, const std::string& contents) const;
    // Copies (or links, when link is true) a file or folder into root/relative.
    void copy(const std::filesystem::path& from, const std::string& relative, bool link = true) const;
    // Changes into root/run/work (created on demand).
    void enterWorkDir() const;

private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

// The generated data tree of this build ("../../Skyhog" from the test working directory).
std::filesystem::path buildDataTree();

} // namespace SkyhogTest
