// Tracks whether an OpenGL context is still current on this thread.
// The shell clears the flag right before it terminates the window system;
// owners of GPU objects that die after that point simply abandon their names
// (the context took them along) instead of calling into a dead context.
#pragma once

namespace Skyhog::GlContext {

bool alive();
void setAlive(bool alive);

} // namespace Skyhog::GlContext
