#version 330 core
// Shadow.frag - lit, shadowed and fogged ordinary models.
// Lamp: lightPos / lightColor (Lambert + a modest Blinn-Phong shine using
// material.shininess). shadowMap (unit 1) is a plain depth texture from an
// orthographic light, compared by hand with a smoothly sliding 3x3 PCF; texture_diffuse1 is unit 0.

struct Material {
    float shininess;
};

in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;
in vec4 FragPosLightSpace;
flat in vec3 EyePos;
flat in vec3 ShadowDir;
flat in vec2 ShirtTurn;
flat in vec2 ShortsTurn;
flat in float ShortsShade;
flat in float ShirtShade;
flat in vec3 SkinTone;
flat in vec3 HairColour;
flat in vec3 HatColour;

uniform sampler2D texture_diffuse1;
uniform sampler2D shadowMap;
uniform vec3 lightPos;
uniform vec3 lightColor;
uniform Material material;

out vec4 FragColor;

const vec3 SKY_COLOR = vec3(0.64, 0.8, 0.94);
const float FOG_START = 60.0;
const float FOG_END = 100.0;

// Sky-blue from above, warm sand bounce from below.
const vec3 AMBIENT_SKY = vec3(0.33, 0.37, 0.43);
const vec3 AMBIENT_GROUND = vec3(0.27, 0.25, 0.22);
const float DIFFUSE_STRENGTH = 0.7;
const float SHINE_STRENGTH = 0.25;
const float FILL = 0.16;

// The person's mesh reads its shirt, shorts, skin, hair, hat and shoes a
// whole number of texture repeats to the right (64, 128, 192, 256, 320 and
// 384): each of the thirteen gets its own shirt and shorts colour (the
// pattern's hue turned about the grey axis, and its brightness), skin tone,
// hair and hat colour, which Shadow.vert works out per model; the shoes keep
// the picture's colour. Every other model's coordinates stay far below the
// first band.
const float OUTFIT_BAND = 64.0;

// turn = (cos, sin) of the angle.
vec3 turnHue(vec3 c, vec2 turn)
{
    const vec3 k = vec3(0.57735);
    return c * turn.x + cross(k, c) * turn.y + k * dot(k, c) * (1.0 - turn.x);
}

vec3 dressed(vec3 albedo)
{
    float band = floor(TexCoords.x / OUTFIT_BAND);
    if (band < 1.0)
        return albedo;
    if (band < 2.0)
        return clamp(turnHue(albedo, ShirtTurn) * ShirtShade, 0.0, 1.0);
    if (band < 3.0)
        return clamp(turnHue(albedo, ShortsTurn) * ShortsShade, 0.0, 1.0);
    if (band < 4.0)
        return albedo * SkinTone;
    if (band < 5.0)
        return albedo * HairColour;
    if (band < 6.0)
        return clamp(albedo * HatColour, 0.0, 1.0);
    return albedo;
}

// 0 = fully lit, 1 = fully in shadow.
float shadowAmount(vec3 n)
{
    vec3 proj = FragPosLightSpace.xyz / FragPosLightSpace.w * 0.5 + 0.5;

    // Slope-scaled bias: the steeper the surface is to the light, the more
    // its depth changes across one texel (plus the PCF footprint).
    float cosTheta = clamp(dot(n, ShadowDir), 0.05, 1.0);
    float tanTheta = sqrt(1.0 - cosTheta * cosTheta) / cosTheta;
    float bias = clamp(0.0005 + 0.0012 * tanTheta, 0.0005, 0.008);
    float receiver = proj.z - bias;

    // A two-texel box slid smoothly over the map: the texel under the point
    // counts fully, its neighbours by how far the box reaches into them, so
    // the shadow's edge is a soft ramp instead of stair steps (nine taps,
    // as many as a plain 3x3 average). Each tap reads its texel as it is:
    // at a texel centre the map's linear filter would only cost more.
    ivec2 size = textureSize(shadowMap, 0);
    vec2 p = proj.xy * vec2(size);
    vec2 k = floor(p);
    vec2 f = p - k;
    vec3 wx = vec3(1.0 - f.x, 1.0, f.x);
    vec3 wy = vec3(1.0 - f.y, 1.0, f.y);
    ivec2 centre = ivec2(k);
    ivec2 last = size - 1;
    float shadow = 0.0;
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y)
            shadow += wx[x] * wy[y] * step(texelFetch(shadowMap, clamp(centre + ivec2(x - 1, y - 1), ivec2(0), last), 0).r, receiver);
    shadow *= 0.25;

    // Anything outside the light's box (or beyond its far plane) is lit.
    vec2 inside = step(vec2(0.0), proj.xy) * step(proj.xy, vec2(1.0));
    return shadow * inside.x * inside.y * step(proj.z, 1.0);
}

void main()
{
    vec3 albedo = dressed(texture(texture_diffuse1, TexCoords).rgb);
    vec3 n = normalize(Normal);
    vec3 L = normalize(lightPos - FragPos);
    vec3 V = normalize(EyePos - FragPos);
    vec3 H = normalize(L + V);

    float diff = max(dot(n, L), 0.0);
    float shine = pow(max(dot(n, H), 0.0), material.shininess) * smoothstep(0.0, 0.1, diff);
    float lit = 1.0 - shadowAmount(n);

    // A little light from where the player looks, so that sides the high
    // lamp leaves in the dark (the pig's rump, a person's back) keep their
    // colour instead of turning muddy.
    vec3 ambient = mix(AMBIENT_GROUND, AMBIENT_SKY, n.y * 0.5 + 0.5) + FILL * max(dot(n, V), 0.0);
    vec3 color = albedo * (ambient + lit * diff * DIFFUSE_STRENGTH * lightColor)
               + lit * shine * SHINE_STRENGTH * lightColor;

    // Melt into the sky before the far clip plane cuts the scene off.
    // Fog by horizontal distance: the far edge of the sea fades into the sky,
    // while the top-down map view (high above, looking straight down) stays clear.
    float fog = smoothstep(FOG_START, FOG_END, length((EyePos - FragPos).xz));
    FragColor = vec4(mix(color, SKY_COLOR, fog), 1.0);
}
