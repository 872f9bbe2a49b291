#version 330 core
// Text.vert - glyph quads. vertex.xy is the position in 800x600 text space,
// vertex.zw the glyph texture coords; C++ supplies the orthographic projection.

layout(location = 0) in vec4 vertex;

uniform mat4 projection;

out vec2 TexCoords;

void main()
{
    TexCoords = vertex.zw;
    gl_ClipDistance[0] = 1.0;
    gl_Position = projection * vec4(vertex.xy, 0.0, 1.0);
}
