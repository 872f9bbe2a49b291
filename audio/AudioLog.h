// The sound engine's messages: one line each on standard output, from any thread.
#pragma once

#include <string>

namespace Skyhog::Audio {

void logLine(const std::string& line);

// Writes the line only the first time `key` is seen in this process.
void logLineOnce(const std::string& key, const std::string& line);

} // namespace Skyhog::Audio
