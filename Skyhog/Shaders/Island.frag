#version 330 core
// Island.frag - sand: the lighting and PCF shadows of Shadow.frag, plus
// ripples, grain and glitter from dudvMap (unit 2, the sand's relief: red and
// green are its slope along world x and z around one half), damp and wet sand
// towards the waterline, broken lacy foam about it and shallow-water colour
// below it. texture_diffuse1 (unit 0) is the sand, shadowMap is unit 1.
// cameraPos arrives normalised, so it only nudges the glitter phase; the real
// eye comes from the view matrix.

struct Material {
    float shininess;
};

in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;
in vec4 FragPosLightSpace;
flat in vec3 EyePos;
flat in vec3 ShadowDir;
flat in float Mirrored;

uniform sampler2D texture_diffuse1;
uniform sampler2D shadowMap;
uniform sampler2D dudvMap;
uniform vec3 lightPos;
uniform vec3 lightColor;
uniform vec3 cameraPos;
uniform Material material;

out vec4 FragColor;

const vec3 SKY_COLOR = vec3(0.64, 0.8, 0.94);
const float FOG_START = 60.0;
const float FOG_END = 100.0;

const vec3 AMBIENT_SKY = vec3(0.33, 0.37, 0.43);
const vec3 AMBIENT_GROUND = vec3(0.27, 0.25, 0.22);
const float DIFFUSE_STRENGTH = 0.7;
const float SHINE_STRENGTH = 0.15;

const float SEA_LEVEL = -5.0;
const float RIPPLE_TILING = 0.4;    // relief repeats every 2.5 world units: ripples ~0.5 apart
const float GRAIN_TILING = 1.3;     // a second, finer copy adds grain close to the eye
const float GRAIN_WARP = 0.004;     // how far the relief nudges the sand lookup
const float RELIEF_TILT = 0.35;     // how far the relief tilts the normal for the highlights
const float RELIEF_SHADE = 0.16;    // light and shade across the ripples
const float GLITTER_STRENGTH = 0.22;

const vec3 SHALLOW_COLOR = vec3(0.38, 0.86, 0.82);  // turquoise over sand just under water
const vec3 DEEP_COLOR = vec3(0.16, 0.52, 0.58);     // teal further down the slope
const vec3 FOAM_COLOR = vec3(0.97, 0.98, 1.0);
const float MIRROR_SAND = 0.3;      // how much sand is left in its mirror image
const float FOAM_WIDTH = 0.22;      // world height of the foam band either side of the water
const float WASH_REACH = 0.45;      // how high the waves wet the sand, on average (world units)
const float LACE_TILING = 5.0;      // the foam's net of lines, about 1.2 world units across

float shadowAmount(vec3 n)
{
    vec3 proj = FragPosLightSpace.xyz / FragPosLightSpace.w * 0.5 + 0.5;

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

    vec2 inside = step(vec2(0.0), proj.xy) * step(proj.xy, vec2(1.0));
    return shadow * inside.x * inside.y * step(proj.z, 1.0);
}

void main()
{
    // Relief: ripples plus a finer, turned copy for grain, drifting a hair with the camera.
    vec2 phase = cameraPos.xz * 0.02;
    vec2 ripple = texture(dudvMap, FragPos.xz * RIPPLE_TILING).rg * 2.0 - 1.0;
    vec2 fine = texture(dudvMap, FragPos.zx * GRAIN_TILING + phase).gr * 2.0 - 1.0;
    vec2 grain = ripple + 0.5 * fine;

    vec3 albedo = texture(texture_diffuse1, TexCoords + grain * GRAIN_WARP).rgb;
    // Slopes facing the lamp (towards -z) light up, the lee sides fall into shade.
    albedo *= 1.0 + RELIEF_SHADE * grain.y;

    // The shore, from the top down: damp sand, then darker wet sand up to
    // where the last wave washed (its edge wanders round the island and is
    // ragged from the relief), broken foam about the waterline, and
    // turquoise shallows under it that deepen to teal down the slope. The
    // tint fades out again further down, so the deep slopes of the island
    // match the sea floor (drawn by Shadow.frag) where the two meet.
    // sway: broad, slow swells along the coast, so nothing follows one
    // contour line all the way round.
    float sway = sin(FragPos.x * 0.53 + 2.0 * sin(FragPos.z * 0.31)) * sin(FragPos.z * 0.47 - FragPos.x * 0.21);
    float height = FragPos.y - SEA_LEVEL + 0.05 * ripple.x;
    float deepFade = smoothstep(SEA_LEVEL - 3.2, SEA_LEVEL - 1.6, FragPos.y);
    float wash = WASH_REACH + 0.2 * sway + 0.08 * (ripple.y + fine.x);
    float damp = (1.0 - smoothstep(wash, wash + 0.8, height)) * deepFade;
    float wet = (1.0 - smoothstep(wash - 0.2, wash + 0.03, height)) * deepFade;
    // Just above the water a thin sheet of it still runs over the sand.
    float film = (1.0 - smoothstep(0.0, 0.2, height)) * deepFade;
    float under = (1.0 - smoothstep(-0.4, 0.0, height)) * deepFade;
    albedo *= mix(1.0, 0.86, damp) * mix(1.0, 0.64, wet);
    vec3 water = mix(SHALLOW_COLOR, DEEP_COLOR, smoothstep(-0.3, -2.0, height));
    // The sheet is as dark as the sea makes the sand just under it, so the
    // waterline itself leaves no seam.
    albedo = mix(albedo, mix(water * 0.6, water, under), 0.75 * under + 0.45 * film * (1.0 - under));
    // Foam as lace: three waves across each other, bent by the relief, are
    // near zero along a net of wavy lines; the foam keeps to those lines,
    // which swell into clots where it is thick and leave gaps between the
    // patches. It clings to the waterline, and a thin broken trail marks
    // the top of the wash.
    vec2 q = FragPos.xz * LACE_TILING + (ripple + fine) * 1.3;
    float net = abs(sin(q.x) + sin(0.5 * q.x + 0.87 * q.y) + sin(0.87 * q.y - 0.5 * q.x + 1.7) + 0.4);
    float patches = smoothstep(-0.3, 0.5, sway + 0.6 * ripple.x - 0.4 * fine.y);
    float band = 1.0 - smoothstep(0.0, FOAM_WIDTH * (0.4 + patches), abs(height - 0.03 + 0.05 * sway));
    float trail = (1.0 - smoothstep(0.0, 0.04, abs(height - wash + 0.03))) * (1.0 - patches);
    float lace = 1.0 - smoothstep(0.15, 0.4 + 1.5 * band * patches, net);
    float foam = lace * max(band * (0.45 + 0.55 * patches), 0.6 * trail);
    albedo = mix(albedo, FOAM_COLOR, 0.9 * foam);

    // Shadows follow the mesh; light and highlights follow the tilted relief.
    vec3 meshNormal = normalize(Normal);
    vec3 n = normalize(meshNormal - vec3(grain.x, 0.0, grain.y) * RELIEF_TILT);
    vec3 L = normalize(lightPos - FragPos);
    vec3 V = normalize(EyePos - FragPos);
    vec3 H = normalize(L + V);

    float diff = max(dot(n, L), 0.0);
    // The mirror image keeps little of the sand and no shadow. Mirrored is the
    // same for a whole pass, so a GPU skips the lookups there; llvmpipe works
    // out both sides of a branch and saves nothing.
    float lit = 1.0;
    if (Mirrored < 0.5) lit -= shadowAmount(meshNormal);
    float lightSide = smoothstep(0.0, 0.1, diff);

    // Wet sand is glossier than dry sand.
    float shine = pow(max(dot(n, H), 0.0), mix(material.shininess, material.shininess * 4.0, wet))
                * mix(SHINE_STRENGTH, 0.45, wet) * lightSide;

    // Glitter: the grain tilts tiny facets; only a few catch the lamp.
    vec3 facet = normalize(n - vec3(grain.x, 0.0, grain.y) * 0.6);
    float eyeDist = length(EyePos - FragPos);
    float glitter = pow(max(dot(facet, H), 0.0), 160.0) * GLITTER_STRENGTH * lightSide
                  * (1.0 - smoothstep(10.0, 40.0, eyeDist));   // fades before it can flicker

    vec3 ambient = mix(AMBIENT_GROUND, AMBIENT_SKY, n.y * 0.5 + 0.5);
    vec3 color = albedo * (ambient + lit * diff * DIFFUSE_STRENGTH * lightColor)
               + lit * (shine + glitter) * lightColor;

    // In the water's mirror the beach is a soft band: shallow turquoise at the
    // waterline melting into the sky, rather than a smeared copy of the sand.
    vec3 mirror = mix(SHALLOW_COLOR, SKY_COLOR, smoothstep(0.0, 1.2, height));
    color = mix(color, mix(mirror, color, MIRROR_SAND), Mirrored);

    // Horizontal distance, so the top-down map view is not fogged.
    float fog = smoothstep(FOG_START, FOG_END, length((EyePos - FragPos).xz));
    FragColor = vec4(mix(color, SKY_COLOR, fog), 1.0);
}
