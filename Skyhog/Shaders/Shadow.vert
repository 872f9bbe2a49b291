#version 330 core
// Shadow.vert - every ordinary model: pig, wings, sea floor, boat, palms, people.
// C++ supplies model (placement included), view, projection, lightSpaceMatrix
// and clipPlane; the mesh gives position / normal / texCoords at locations 0..2.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;
uniform mat4 lightSpaceMatrix;
uniform vec4 clipPlane;

out vec3 FragPos;            // world space
out vec3 Normal;             // world space, re-normalised per fragment
out vec2 TexCoords;
out vec4 FragPosLightSpace;
flat out vec3 EyePos;        // camera position, recovered from the view matrix
flat out vec3 ShadowDir;     // unit vector pointing at the shadow light
// A person's outfit (see Shadow.frag), fixed per model and so worked out
// here rather than for every pixel: the shirt's and the shorts' hue turns
// as (cos, sin), the shorts' brightness and the skin tone per channel.
flat out vec2 ShirtTurn;
flat out vec2 ShortsTurn;
flat out float ShortsShade;
flat out vec3 SkinTone;

// Roughly one shadow-map texel in world units (100 units over 768 texels).
// The shadow lookup point is pushed this far off the surface on slopes.
const float NORMAL_OFFSET = 0.12;

// The map pass looks straight down from high above the sea and keeps
// everything (its plane lies this far out). The opaque sea is drawn over
// whatever lies under its surface there, so that part is cut off here instead
// of being shaded and then covered; the margin keeps the waterline itself.
// Only the map: the main pass blends the stream's drops, drawn before the sea,
// over what lies under it, so that must stay. (The player's camera can tilt to
// 89 degrees at most, so only the map view reads as straight down.)
const float OPEN_PASS_DISTANCE = 1000.0;
const float STRAIGHT_DOWN = 0.99995;
const float SEA_LEVEL = -5.0;
const float HIDDEN_DEPTH = 0.05;

void main()
{
    vec4 worldPos = model * vec4(position, 1.0);
    vec3 n = normalize(mat3(model) * normal);   // models are only scaled uniformly

    // Light-space depth grows along the third row of the light matrix,
    // so the way back to the light is the negated, normalised row.
    vec3 depthRow = vec3(lightSpaceMatrix[0][2], lightSpaceMatrix[1][2], lightSpaceMatrix[2][2]);
    vec3 toLight = -normalize(depthRow);
    float facing = clamp(dot(n, toLight), 0.0, 1.0);

    FragPos = worldPos.xyz;
    Normal = n;
    TexCoords = texCoords;
    FragPosLightSpace = lightSpaceMatrix * vec4(worldPos.xyz + n * (NORMAL_OFFSET * (1.0 - facing)), 1.0);
    EyePos = -transpose(mat3(view)) * view[3].xyz;
    ShadowDir = toLight;
    // People walk along x only, so their height and depth name them: a
    // number in 0..1, the same for a model wherever it walks.
    float variety = fract(sin(dot(model[3].yz, vec2(4.1414, 12.9898))) * 43758.5453);
    float shirtAngle = 6.2832 * variety;
    float shortsAngle = 6.2832 * fract(variety * 7.0);
    ShirtTurn = vec2(cos(shirtAngle), sin(shirtAngle));
    ShortsTurn = vec2(cos(shortsAngle), sin(shortsAngle));
    ShortsShade = mix(0.7, 1.15, fract(variety * 3.0));
    float tone = mix(0.45, 1.0, fract(variety * 13.0));
    SkinTone = vec3(tone, pow(tone, 1.15), pow(tone, 1.3));

    // -view[1][2] is the y of the view direction.
    bool underOpaqueSea = clipPlane.w > OPEN_PASS_DISTANCE && view[1][2] > STRAIGHT_DOWN && EyePos.y > SEA_LEVEL;
    gl_ClipDistance[0] = underOpaqueSea ? worldPos.y - (SEA_LEVEL - HIDDEN_DEPTH) : dot(worldPos, clipPlane);
    gl_Position = projection * view * worldPos;
}
