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
uniform vec3 cameraPos;   // the camera rig's position: the point the chase eye looks at
uniform mat4 lightSpaceMatrix;

out vec4 ClipSpace;      // for the projective lookups into this frame's pictures
out vec4 MirrorClip;     // the mirrored view ray, projected (see Water.frag)
out vec3 WorldPos;
out vec3 SurfaceNormal;
out vec2 TexCoords;
flat out vec3 EyePos;    // the real eye, recovered from the view matrix
out vec4 LightSpacePos;  // where the lamp's depth picture sees this point

const float REFLECTION_DROP = 12.0;  // how far below the eye the reflection camera sits
const float BOUNCE_REACH = 1.0;

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

    // Where the eye ray bounced off the sea ends up, as seen from the camera
    // that shot the reflection picture (same heading, REFLECTION_DROP below
    // the rig's position).
    // The bounced ray is followed as far again as the eye is from the water
    // (BOUNCE_REACH), which keeps the parallax between the two eyes in check.
    // Everything here is linear in worldPos, so it interpolates exactly.
    vec3 mirroredEye = vec3(EyePos.x, 2.0 * worldPos.y - EyePos.y, EyePos.z);
    vec3 bouncedPoint = worldPos.xyz + (worldPos.xyz - mirroredEye) * BOUNCE_REACH;
    vec3 reflectionEye = cameraPos - vec3(0.0, REFLECTION_DROP, 0.0);
    MirrorClip = projection * view * vec4(bouncedPoint - reflectionEye, 0.0);

    gl_ClipDistance[0] = 1.0;   // never clipped; the water is not drawn in the clipped passes
    gl_Position = ClipSpace;
}
