#version 330 core
// Particle.vert - camera-facing droplets of the yellow stream (instanced).
// Per vertex: squareVertices (quad corner, +-0.5). Per instance: xyzs
// (world centre + size) and color (normalised bytes). C++ supplies
// projection, view and the camera's right / up axes in world space.

layout(location = 0) in vec3 squareVertices;
layout(location = 1) in vec4 xyzs;
layout(location = 2) in vec4 color;

uniform mat4 projection;
uniform mat4 view;
uniform vec3 cameraRight_worldspace;
uniform vec3 cameraUp_worldspace;

out vec2 Corner;         // -0.5..0.5 across the quad
out vec4 ParticleColor;

void main()
{
    float size = xyzs.w;
    vec3 worldPos = xyzs.xyz
                  + cameraRight_worldspace * squareVertices.x * size
                  + cameraUp_worldspace * squareVertices.y * size;

    Corner = squareVertices.xy;
    ParticleColor = color;
    gl_ClipDistance[0] = 1.0;
    gl_Position = projection * view * vec4(worldPos, 1.0);
}
