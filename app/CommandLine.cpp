#include "app/CommandLine.h"

#include <cstdint>
#include <sstream>

namespace Skyhog::App {
namespace {

std::optional<std::int32_t> readInt(const char* text)
{
    std::istringstream stream(text);
    std::int32_t value = 0;
    if (!(stream >> value)) return std::nullopt;
    return value;
}

} // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out)
{
    ParsedCommandLine result;
    if (argc != 3) return result;

    out << "Executing" << argv[0] << ":" << '\n';
    const auto width = readInt(argv[1]);
    if (!width) {
        result.error = "please use int for window width";
        return result;
    }
    const auto height = readInt(argv[2]);
    if (!height) {
        result.error = "please use int for window height";
        return result;
    }
    result.size = WindowSize(*width, *height);
    return result;
}

} // namespace Skyhog::App
