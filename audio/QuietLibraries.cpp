#include "audio/QuietLibraries.h"

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

namespace Skyhog::Audio {
namespace {

// ALSA's error handler type: file, line, function, error code, printf format.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void quietAlsa()
{
    // OpenAL Soft loads ALSA itself, at run time, when it probes its back-ends;
    // the game does not link it. Loading the same library here first reaches
    // the same error handler. Where ALSA is absent there is nothing to quieten.
    // The library stays loaded so that the handler stays in place.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr) return;
    const auto setHandler = reinterpret_cast<AlsaSetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) setHandler(ignoreAlsaError);
}

} // namespace

void quietSoundLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // OpenAL Soft reads its log level once, when it first starts up.
        setenv("ALSOFT_LOGLEVEL", "0", 0);
        quietAlsa();
    });
}

} // namespace Skyhog::Audio
