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

// What lies under the sea is cut off in the map pass; see Shadow.vert.
const float OPEN_PASS_DISTANCE = 1000.0;
const float STRAIGHT_DOWN = 0.99995;
const float SEA_LEVEL = -5.0;
const float HIDDEN_DEPTH = 0.05;

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
    EyePos = -transpose(mat3(view)) * view[3].xyz;
    ShadowDir = toLight;
    // Only the reflection pass keeps what is above the water (clipPlane.y > 0).
    Mirrored = step(0.5, clipPlane.y);

    // -view[1][2] is the y of the view direction.
    bool underOpaqueSea = clipPlane.w > OPEN_PASS_DISTANCE && view[1][2] > STRAIGHT_DOWN && EyePos.y > SEA_LEVEL;
    gl_ClipDistance[0] = underOpaqueSea ? worldPos.y - (SEA_LEVEL - HIDDEN_DEPTH) : dot(worldPos, clipPlane);
    gl_Position = projection * view * worldPos;
}
