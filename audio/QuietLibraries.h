// Keeps the sound libraries off the terminal. Without a sound device OpenAL
// Soft logs its failed back-ends and ALSA its configuration errors on
// standard error, for every device opened; the engine says what matters in
// its own one line instead. Call before the first device is opened; calls
// after the first do nothing. A log level the user set (ALSOFT_LOGLEVEL) is
// left alone.
#pragma once

namespace Skyhog::Audio {

void quietSoundLibraries();

} // namespace Skyhog::Audio
