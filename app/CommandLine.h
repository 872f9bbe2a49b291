// Turns the command line into the window size: nothing, or exactly two
// integers (width, height). Any other count is ignored and the default
// 1024 x 768 is used. No window system involved, so it is unit-tested.
#pragma once
#include "render/WindowSize.h"

#include <optional>
#include <ostream>
#include <string>

namespace Skyhog::App {

struct ParsedCommandLine {
    WindowSize size;
    std::string error; // the message to stop with; empty when the line is usable
};

// Reads the size the way formatted stream extraction does: leading digits
// (with an optional sign) count, trailing characters are ignored, a value
// that is not a number or does not fit 32 bits is an error. Writes the
// "Executing <program>:" line to out when two arguments are given.
ParsedCommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out);

} // namespace Skyhog::App
