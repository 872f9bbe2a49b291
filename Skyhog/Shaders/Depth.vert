#version 330 core
// Depth.vert - fills the shadow map from the lamp's orthographic view.
// C++ supplies lightSpaceMatrix and model; reuses the model VAO (position at 0).

layout(location = 0) in vec3 position;

uniform mat4 lightSpaceMatrix;
uniform mat4 model;

void main()
{
    gl_ClipDistance[0] = 1.0;
    gl_Position = lightSpaceMatrix * model * vec4(position, 1.0);
}
