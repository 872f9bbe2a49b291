#version 330 core
// Water.vert - the sea plane (world y = -5).
// C++ supplies model / view / projection and the lamp's lightSpaceMatrix (for
// the shadows the sea receives); the mesh gives position / normal /
// texCoords (one unit per SEA_TILE world units across the square, v running
// towards -z).

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;
uniform mat4 lightSpaceMatrix;
uniform vec3 cameraPos;   // the camera rig's position (not needed: the eye comes from the view)

out vec4 ClipSpace;      // for the projective lookups into this frame's pictures
out vec3 WorldPos;
out vec3 SurfaceNormal;
out vec2 TexCoords;      // where the pictures are read, in world units, fixed to the world
flat out vec3 EyePos;    // the real eye, recovered from the view matrix
out vec4 LightSpacePos;  // where the lamp's depth picture sees this point

const float SEA_TILE = 8.0;   // world units per unit of the file's texCoords

void main()
{
    vec4 worldPos = model * vec4(position, 1.0);
    // The sea has no shore: its plane is centred under the eye wherever the
    // pig flies, and reaches past the far plane all round. Its pictures are
    // laid on in the world: the file's coordinates move on with the plane.
    vec3 eye = -transpose(mat3(view)) * view[3].xyz;
    worldPos.xz += eye.xz;

    // The sea is flat; trust the mesh normal but keep it pointing up.
    vec3 n = mat3(model) * normal;
    n = dot(n, n) > 1e-8 ? normalize(n) : vec3(0.0, 1.0, 0.0);
    if (n.y < 0.0)
        n = -n;

    WorldPos = worldPos.xyz;
    SurfaceNormal = n;
    TexCoords = texCoords * SEA_TILE + vec2(eye.x, -eye.z);
    ClipSpace = projection * view * worldPos;
    EyePos = -transpose(mat3(view)) * view[3].xyz;
    LightSpacePos = lightSpaceMatrix * worldPos;

    gl_ClipDistance[0] = 1.0;   // never clipped; the water is not drawn in the clipped passes
    gl_Position = ClipSpace;
}
