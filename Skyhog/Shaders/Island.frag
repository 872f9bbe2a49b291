#version 330 core
// Island.frag - sand: the lighting and PCF shadows of Shadow.frag, plus
// a faint grain/glitter from dudvMap (unit 2), dark wet sand at the waterline
// and a sea-green cast below it. texture_diffuse1 (unit 0) is the sand,
// shadowMap is unit 1. cameraPos arrives normalised, so it only nudges the
// glitter phase; the real eye comes from the view matrix.

struct Material {
    float shininess;
};

in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;
in vec4 FragPosLightSpace;
flat in vec3 EyePos;
flat in vec3 ShadowDir;

uniform sampler2D texture_diffuse1;
uniform sampler2D shadowMap;
uniform sampler2D dudvMap;
uniform vec3 lightPos;
uniform vec3 lightColor;
uniform vec3 cameraPos;
uniform Material material;

out vec4 FragColor;

const vec3 SKY_COLOR = vec3(0.52, 0.8, 1.0);
const float FOG_START = 60.0;
const float FOG_END = 100.0;

const vec3 AMBIENT_SKY = vec3(0.33, 0.37, 0.43);
const vec3 AMBIENT_GROUND = vec3(0.27, 0.25, 0.22);
const float DIFFUSE_STRENGTH = 0.7;
const float SHINE_STRENGTH = 0.15;

const float SEA_LEVEL = -5.0;
const float GRAIN_TILING = 1.2;     // grain repeats every ~0.8 world units
const float GRAIN_WARP = 0.004;     // how far the grain nudges the sand lookup
const float GRAIN_SHADE = 0.05;     // brightness wobble from the grain
const float GLITTER_STRENGTH = 0.22;

float shadowAmount(vec3 n)
{
    vec3 proj = FragPosLightSpace.xyz / FragPosLightSpace.w * 0.5 + 0.5;

    float cosTheta = clamp(dot(n, ShadowDir), 0.05, 1.0);
    float tanTheta = sqrt(1.0 - cosTheta * cosTheta) / cosTheta;
    float bias = clamp(0.0005 + 0.0012 * tanTheta, 0.0005, 0.008);
    float receiver = proj.z - bias;

    vec2 texel = 1.0 / vec2(textureSize(shadowMap, 0));
    float shadow = 0.0;
    for (int x = -1; x <= 1; ++x)
        for (int y = -1; y <= 1; ++y)
            shadow += step(texture(shadowMap, proj.xy + vec2(x, y) * texel).r, receiver);
    shadow *= 1.0 / 9.0;

    vec2 inside = step(vec2(0.0), proj.xy) * step(proj.xy, vec2(1.0));
    return shadow * inside.x * inside.y * step(proj.z, 1.0);
}

void main()
{
    // Grain: one dudv lookup in world space, drifting a hair with the camera.
    vec2 phase = cameraPos.xz * 0.02;
    vec2 grain = texture(dudvMap, FragPos.xz * GRAIN_TILING + phase).rg * 2.0 - 1.0;

    vec3 albedo = texture(texture_diffuse1, TexCoords + grain * GRAIN_WARP).rgb;
    albedo *= 1.0 + GRAIN_SHADE * grain.x;

    // Wet sand around the waterline, with a sea-green cast just under it.
    // Both fade out again further down, so the deep slopes of the island
    // match the sea floor (drawn by Shadow.frag) where the two meet.
    float deepFade = smoothstep(SEA_LEVEL - 2.0, SEA_LEVEL - 0.6, FragPos.y);
    float wet = (1.0 - smoothstep(SEA_LEVEL - 0.2, SEA_LEVEL + 0.6, FragPos.y)) * deepFade;
    float under = (1.0 - smoothstep(SEA_LEVEL - 0.8, SEA_LEVEL, FragPos.y)) * deepFade;
    albedo *= mix(1.0, 0.62, wet);
    albedo *= mix(vec3(1.0), vec3(0.78, 0.9, 0.9), under);

    vec3 n = normalize(Normal);
    vec3 L = normalize(lightPos - FragPos);
    vec3 V = normalize(EyePos - FragPos);
    vec3 H = normalize(L + V);

    float diff = max(dot(n, L), 0.0);
    float lit = 1.0 - shadowAmount(n);
    float lightSide = smoothstep(0.0, 0.1, diff);

    // Wet sand is glossier than dry sand.
    float shine = pow(max(dot(n, H), 0.0), mix(material.shininess, material.shininess * 4.0, wet))
                * mix(SHINE_STRENGTH, 0.45, wet) * lightSide;

    // Glitter: the grain tilts tiny facets; only a few catch the lamp.
    vec3 facet = normalize(n + vec3(grain.x, 0.0, grain.y) * 0.6);
    float eyeDist = length(EyePos - FragPos);
    float glitter = pow(max(dot(facet, H), 0.0), 160.0) * GLITTER_STRENGTH * lightSide
                  * (1.0 - smoothstep(10.0, 40.0, eyeDist));   // fades before it can flicker

    vec3 ambient = mix(AMBIENT_GROUND, AMBIENT_SKY, n.y * 0.5 + 0.5);
    vec3 color = albedo * (ambient + lit * diff * DIFFUSE_STRENGTH * lightColor)
               + lit * (shine + glitter) * lightColor;

    // Horizontal distance, so the top-down map view is not fogged.
    float fog = smoothstep(FOG_START, FOG_END, length((EyePos - FragPos).xz));
    FragColor = vec4(mix(color, SKY_COLOR, fog), 1.0);
}
