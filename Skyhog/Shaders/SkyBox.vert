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
    gl_ClipDistance[0] = aPos.y + 0.1386;
    // The cube is drawn first with depth writes off, so it needs no far-plane
    // trick: everything drawn afterwards covers it. (Depth exactly 1.0 would fail
    // the default GL_LESS test against the cleared buffer.)
    gl_Position = pos;
}
