#version 330 core
// Lamp.vert - a small marker mesh at the lamp; model, view, projection from C++.

layout(location = 0) in vec3 position;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;

void main()
{
    gl_ClipDistance[0] = 1.0;
    gl_Position = projection * view * model * vec4(position, 1.0);
}
