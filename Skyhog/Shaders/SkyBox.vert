#version 330 core
// SkyBox.vert - the sky cube (corners at +-1), pinned to the far plane.
// C++ supplies view (translation removed) and projection.

layout(location = 0) in vec3 aPos;

uniform mat4 view;
uniform mat4 projection;

out vec3 TexCoords;

void main()
{
    TexCoords = aPos;
    vec4 pos = projection * view * vec4(aPos, 1.0);
    gl_ClipDistance[0] = 1.0;
    gl_Position = pos.xyww;   // depth 1.0 after the divide: always behind everything
}
