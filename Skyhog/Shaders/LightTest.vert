#version 330 core
// LightTest.vert - plain model transform with the usual mesh layout
// (position / normal / texCoords at 0..2); model, view, projection from C++.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;

out vec3 FragPos;
out vec3 Normal;
out vec2 TexCoords;
flat out vec3 EyePos;

void main()
{
    vec4 worldPos = model * vec4(position, 1.0);
    FragPos = worldPos.xyz;
    Normal = mat3(model) * normal;
    TexCoords = texCoords;
    EyePos = -transpose(mat3(view)) * view[3].xyz;
    gl_ClipDistance[0] = 1.0;
    gl_Position = projection * view * worldPos;
}
