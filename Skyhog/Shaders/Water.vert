#version 330 core
// Water.vert - the sea plane (world y = -5).
// C++ supplies model / view / projection and the lamp's lightSpaceMatrix (for
// the shadows the sea receives); the mesh gives position / normal /
// texCoords (texCoords tile the water colour texture, up to ~40 across).

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;
uniform mat4 lightSpaceMatrix;
uniform vec3 cameraPos;   // the camera rig's position: the reflection picture is shot from below it

out vec4 ClipSpace;      // for the projective lookups into this frame's pictures
out vec3 WorldPos;
out vec3 SurfaceNormal;
out vec2 TexCoords;
flat out vec3 EyePos;    // the real eye, recovered from the view matrix
out vec4 LightSpacePos;  // where the lamp's depth picture sees this point
out vec4 MirrorClip;     // what the sea mirrors here, as the reflection camera sees it

const float REFLECTION_DROP = 12.0;  // how far below the rig the reflection camera sits
const float MIRRORED_HEIGHT = 1.5;   // what the sea mirrors is taken to stand this high above it


void main()
{
    vec4 worldPos = model * vec4(position, 1.0);

    // The sea is flat; trust the mesh normal but keep it pointing up.
    vec3 n = mat3(model) * normal;
    n = dot(n, n) > 1e-8 ? normalize(n) : vec3(0.0, 1.0, 0.0);
    if (n.y < 0.0)
        n = -n;

    WorldPos = worldPos.xyz;
    SurfaceNormal = n;
    TexCoords = texCoords;
    ClipSpace = projection * view * worldPos;
    EyePos = -transpose(mat3(view)) * view[3].xyz;
    LightSpacePos = lightSpaceMatrix * worldPos;

    // The eye ray, bounced off the flat sea, is followed up to where it
    // reaches MIRRORED_HEIGHT above the water: boats, beaches and trunks
    // stand about there, so their mirror images sit right under them, and at
    // grazing angles the reach grows until it is the far sky. That point is
    // projected as the reflection camera saw it (same heading as this view,
    // REFLECTION_DROP below the rig). The sea is flat, so the bounced ray's
    // climb per unit is the same all over a triangle and the result is an
    // affine function of the position: interpolating it is exact.
    vec3 incoming = worldPos.xyz - EyePos;
    vec3 bouncedRay = vec3(incoming.x, -incoming.y, incoming.z);
    vec3 seen = worldPos.xyz + bouncedRay * (MIRRORED_HEIGHT / max(bouncedRay.y, 1e-3));
    vec3 reflectionEye = cameraPos - vec3(0.0, REFLECTION_DROP, 0.0);
    MirrorClip = projection * view * vec4(seen - reflectionEye, 0.0);

    gl_ClipDistance[0] = 1.0;   // never clipped; the water is not drawn in the clipped passes
    gl_Position = ClipSpace;
}
