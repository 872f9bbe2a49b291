#include "render/GlContext.h"

namespace Skyhog::GlContext {
namespace {
bool contextAlive = false;
}

bool alive()
{
    return contextAlive;
}
void setAlive(bool alive)
{
    contextAlive = alive;
}

} // namespace Skyhog::GlContext
