#version 330 core
// Intro.vert - a textured quad given straight in NDC (position at 0, texcoords at 1).

layout(location = 0) in vec2 aPos;
layout(location = 1) in vec2 aTexCoords;

out vec2 TexCoords;

void main()
{
    TexCoords = aTexCoords;
    gl_ClipDistance[0] = 1.0;
    gl_Position = vec4(aPos, 0.0, 1.0);
}
