#version 330 core
// Particle.vert - the yellow stream, one instance per drop.
// Per vertex: squareVertices (quad corner, +-0.5). Per instance: xyzs
// (world centre + size) and color (normalised bytes). C++ supplies
// projection, view and the camera's right / up axes in world space.
//
// Each drop is drawn as a streak reaching up along the fall towards where it
// came from: the drops fall about 15 units a second and leave the pig in
// bursts of up to eight a frame, so at ten frames a second the bursts are
// 1.5 units apart. A streak a little longer than that joins them into one
// falling line of drops and tails. It never reaches above the pig, which the
// chase view looks at from CHASE_DISTANCE behind (from the top-down map the
// cap lies far overhead and changes nothing). The streak turns about the fall
// line to face the eye; eye and pig come from the view matrix. A drop that
// has just passed the sea surface is drawn instead as a ring spreading on
// the surface: the splash.

layout(location = 0) in vec3 squareVertices;
layout(location = 1) in vec4 xyzs;
layout(location = 2) in vec4 color;

uniform mat4 projection;
uniform mat4 view;
uniform vec3 cameraRight_worldspace;
uniform vec3 cameraUp_worldspace;

out vec2 Corner;         // -0.5..0.5: x across the streak, y from the drop (-0.5) up its tail
out vec4 ParticleColor;
flat out float Splash;   // 0 for a falling drop, else how far the ring has spread (0..1]
flat out float Aspect;   // a streak's length over its width, for a round head

const float STREAK_LENGTH = 1.8;     // world units, at most
const float CHASE_DISTANCE = 4.0;    // the chase eye sits this far behind the pig
const float SEA_LEVEL = -5.0;        // the water plane's height
const float SPLASH_DEPTH = 2.5;      // how far below the surface a drop still shows as a ring
const float SPLASH_RADIUS = 0.9;

void main()
{
    float size = xyzs.w;                       // 0.1 .. 0.6
    vec3 drop = xyzs.xyz;
    mat3 turn = transpose(mat3(view));         // view space to world space
    vec3 eye = -turn * view[3].xyz;
    vec3 looked = eye - turn[2] * CHASE_DISTANCE;
    vec3 worldPos;

    float below = SEA_LEVEL - drop.y;
    if (below > 0.0 && below < SPLASH_DEPTH) {
        // A flat ring on the surface, growing as the drop sinks.
        Splash = max(below / SPLASH_DEPTH, 0.01);
        Aspect = 1.0;
        float radius = (0.25 + Splash) * SPLASH_RADIUS * (0.6 + size);
        worldPos = vec3(drop.x, SEA_LEVEL + 0.03, drop.z)
                 + vec3(squareVertices.x, 0.0, squareVertices.y) * 2.0 * radius;
    } else {
        Splash = 0.0;
        vec3 along = vec3(0.0, 1.0, 0.0);
        vec3 across = cross(along, eye - drop);
        // Seen from straight above or below the fall line, use the camera's own right.
        across = dot(across, across) > 1e-6 ? normalize(across) : cameraRight_worldspace;
        float width = 0.08 + 0.18 * size;
        float length = clamp(looked.y - drop.y, width, STREAK_LENGTH);
        Aspect = length / width;
        worldPos = drop
                 + across * squareVertices.x * width
                 + along * ((squareVertices.y + 0.5) * length - 0.5 * width);
    }

    Corner = squareVertices.xy;
    ParticleColor = color;
    gl_ClipDistance[0] = 1.0;
    gl_Position = projection * view * vec4(worldPos, 1.0);
}
