#version 330 core
// DebugDepth.vert - full-screen (or corner) quad in NDC for looking at the shadow map.

layout(location = 0) in vec2 aPos;
layout(location = 1) in vec2 aTexCoords;

out vec2 TexCoords;

void main()
{
    TexCoords = aTexCoords;
    gl_ClipDistance[0] = 1.0;
    gl_Position = vec4(aPos, 0.0, 1.0);
}
