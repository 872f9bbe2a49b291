// Finds the game's data tree and enters the folder the game expects to run
// in: the game reads "../../Skyhog/", so it runs in <root>/run/game where
// <root>/Skyhog is the tree.
#pragma once
#include <string>

namespace Skyhog::Bench {

struct DataLocation {
    std::string root;         // the folder holding Skyhog/; empty when none was found
    std::string error;        // why not; empty on success
    bool badArgument = false; // the error is about --data-root
};

// dataRoot: the folder named on the command line, or empty to look in the
// build tree this program was built in and next to the executable itself.
DataLocation findDataRoot(const std::string& dataRoot);

// Creates <root>/run/game when missing and makes it the working directory.
// Returns an error message, or an empty string on success.
std::string enterRunFolder(const std::string& root);

} // namespace Skyhog::Bench
