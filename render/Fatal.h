// Error reporting shared by every subsystem. Diagnostics go to standard
// output, never through exceptions.
//  - note():  a non-fatal line; the program carries on.
//  - pause(): runs the shell command "PAUSE" (waits for a key on systems that
//             have it; fails harmlessly elsewhere) and carries on.
//  - fatal(): writes one line, runs "PAUSE" and ends the process with status 1.
#pragma once
#include <string_view>

namespace Skyhog {

void note(std::string_view line);
void pause();
[[noreturn]] void fatal(std::string_view line);

} // namespace Skyhog
