#version 330 core
// Island.vert - the sandy island. Same inputs as the ordinary models:
// model / view / projection, lightSpaceMatrix, clipPlane, and the mesh's
// position / normal / texCoords at locations 0..2.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;
uniform mat4 lightSpaceMatrix;
uniform vec4 clipPlane;

out vec3 FragPos;
out vec3 Normal;
out vec2 TexCoords;
out vec4 FragPosLightSpace;
flat out vec3 EyePos;
flat out vec3 ShadowDir;
flat out float Mirrored;

// About one shadow-map texel in world units; see Shadow.vert.
const float NORMAL_OFFSET = 0.12;

// What lies under the sea is cut off in the map pass (on Mesa's llvmpipe,
// which clips with GL_CLIP_DISTANCE0 disabled); see Shadow.vert.
const float OPEN_PASS_DISTANCE = 1000.0;
const float STRAIGHT_DOWN = 0.99995;
const float SEA_LEVEL = -5.0;
const float HIDDEN_DEPTH = 0.05;

// The reflection pass is shot from a camera 12 units under the rig, looking
// the same way, upside down: not the player's eye mirrored in the sea, so its
// picture could only be laid over the sea by guessing how far away each
// mirrored thing stands, and things nearer the water than the guess (a
// boat's hull) slid sideways off their mirror images. So in that pass the
// model draws itself as the player's eye sees it mirrored in the water plane,
// and the sea reads the picture right where it lies on the screen. The eye
// follows from the pass's view: the rig is REFLECTION_DROP above that
// camera, the eye CHASE_DISTANCE behind the rig along the view, and the
// eye's turn is the upside-down one with right and up negated.
const float REFLECTION_DROP = 12.0;
const float CHASE_DISTANCE = 4.0;
const float WATER_LEVEL = -5.0;

// The player's eye, from the reflection pass's view.
vec3 mirrorEye(mat4 reflectionView)
{
    mat3 turn = mat3(reflectionView);
    vec3 front = -vec3(turn[0][2], turn[1][2], turn[2][2]);
    vec3 reflectionCamera = -transpose(turn) * reflectionView[3].xyz;
    return reflectionCamera + vec3(0.0, REFLECTION_DROP, 0.0) - CHASE_DISTANCE * front;
}

// Where the player's eye (from mirrorEye) sees the mirror image of a world
// point, in view space.
vec3 mirrorViewPos(mat4 reflectionView, vec3 eye, vec3 worldPos)
{
    const vec3 upright = vec3(-1.0, -1.0, 1.0);
    mat3 turn = mat3(reflectionView);
    mat3 eyeTurn = mat3(turn[0] * upright, turn[1] * upright, turn[2] * upright);
    vec3 mirrored = vec3(worldPos.x, 2.0 * WATER_LEVEL - worldPos.y, worldPos.z);
    return eyeTurn * (mirrored - eye);
}

void main()
{
    vec4 worldPos = model * vec4(position, 1.0);
    vec3 n = normalize(mat3(model) * normal);

    vec3 depthRow = vec3(lightSpaceMatrix[0][2], lightSpaceMatrix[1][2], lightSpaceMatrix[2][2]);
    vec3 toLight = -normalize(depthRow);
    float facing = clamp(dot(n, toLight), 0.0, 1.0);

    FragPos = worldPos.xyz;
    Normal = n;
    TexCoords = texCoords;
    FragPosLightSpace = lightSpaceMatrix * vec4(worldPos.xyz + n * (NORMAL_OFFSET * (1.0 - facing)), 1.0);
    // Only the reflection pass keeps what is above the water (clipPlane.y > 0).
    bool reflection = clipPlane.y > 0.5;
    EyePos = -transpose(mat3(view)) * view[3].xyz;
    vec3 playerEye = mirrorEye(view);   // meaningful in the reflection pass only
    if (reflection)
        EyePos = vec3(playerEye.x, 2.0 * WATER_LEVEL - playerEye.y, playerEye.z);   // the eye's mirror image
    ShadowDir = toLight;
    Mirrored = reflection ? 1.0 : 0.0;

    // -view[1][2] is the y of the view direction.
    bool underOpaqueSea = clipPlane.w > OPEN_PASS_DISTANCE && view[1][2] > STRAIGHT_DOWN && EyePos.y > SEA_LEVEL;
    gl_ClipDistance[0] = underOpaqueSea ? worldPos.y - (SEA_LEVEL - HIDDEN_DEPTH) : dot(worldPos, clipPlane);
    gl_Position = reflection ? projection * vec4(mirrorViewPos(view, playerEye, worldPos.xyz), 1.0)
                             : projection * view * worldPos;
}
