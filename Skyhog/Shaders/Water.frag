#version 330 core
// Water.frag - reflective, refractive sea.
// Units: texture_diffuse1 0 (water colour), reflectionTexture 1,
// refractionTexture 2 (both window-sized pictures rendered this frame),
// dudvMap 3 (tileable ripples), shadowMap 4 (the lamp's depth picture, so the
// pig's shadow on the sea shows where the stream lands). lightPos is the lamp, moveFactor
// = 0.01 * sin(t). Fog, Fresnel and glints are centred on the real eye, which
// the vertex shader recovers from the view matrix (cameraPos is the rig's
// position, the point the eye looks at, not the eye).

in vec4 ClipSpace;
in vec3 WorldPos;
in vec3 SurfaceNormal;
in vec2 TexCoords;
flat in vec3 EyePos;
in vec4 LightSpacePos;

uniform sampler2D texture_diffuse1;
uniform sampler2D reflectionTexture;
uniform sampler2D refractionTexture;
uniform sampler2D dudvMap;
uniform sampler2D shadowMap;
uniform vec3 lightPos;
uniform float moveFactor;

out vec4 FragColor;

const vec3 SKY_COLOR = vec3(0.64, 0.8, 0.94);
const float FOG_START = 25.0;   // the sea fades slowly into the haze ...
const float FOG_END = 100.0;    // ... and is all haze at the far plane

// The ripples: one distortion picture read at two sizes, turned against
// each other and at sizes whose ratio is not a whole number, so neither
// repeat lines up with the other and no tiling shows.
const float SWELL_SIZE = 13.0;      // world units per repeat of the broad ripples
const float CHOP_SIZE = 3.1;        // ... and of the fine ones, crisp near the eye
const mat2 CHOP_TURN = mat2(0.8, -0.6, 0.6, 0.8);
const float WIND_SIZE = 90.0;       // the water picture read this large: calm and rough patches
const float FLOW_SCALE = 6.0;       // moveFactor only swings +-0.01; make the sway visible
const float WAVE_STRENGTH = 0.018;  // screen-space distortion per unit of ripple
const float NORMAL_BUMP = 0.16;     // ripple tilt used for Fresnel
const float GLINT_BUMP = 0.35;      // stronger tilt for the lamp's glints
const float GLINT_POWER = 260.0;
const float GLINT_STRENGTH = 0.7;
const float FRESNEL_F0 = 0.08;
const float COLOUR_TINT = 0.12;     // how much of the water colour texture shows
const float SHADOW_STRENGTH = 0.6;
// The lamp's box is 100 units deep, so 0.03 of its depth is 3 units.
const float SOFT_DEPTH = 0.03;
const vec3 DEEP_WATER = vec3(0.05, 0.22, 0.3);
const float DEPTH_TINT = 0.5;

// 0 = lit, 1 = in shadow, from one read of the lamp's depth picture, whose
// linear filter blends the four depths around the point. The sea is flat and
// lies under everything that shades it, so how far that blend sits above the
// sea says how much of the point is covered: the pig's shadow (9 units up)
// comes out a whole, soft-edged shape instead of a blocky smudge, for the
// cost of one read. Things lower than SOFT_HEIGHT over the water shade it
// only in part, which suits a boat's hull.
float shadowAmount()
{
    vec3 proj = LightSpacePos.xyz / LightSpacePos.w * 0.5 + 0.5;
    // Outside the lamp's box nothing is in shadow.
    if (any(lessThan(proj.xy, vec2(0.0))) || any(greaterThan(proj, vec3(1.0))))
        return 0.0;
    float receiver = proj.z - 0.002;   // the sea is flat and faces the lamp: a small bias will do
    return clamp((receiver - texture(shadowMap, proj.xy).r) / SOFT_DEPTH, 0.0, 1.0);
}

void main()
{
    vec2 ndc = ClipSpace.xy / ClipSpace.w * 0.5 + 0.5;

    vec2 refractCoords = ndc;

    // The models and the sky draw themselves into the reflection picture as
    // the eye sees them mirrored in the sea (see Shadow.vert), so what the sea
    // mirrors here lies at this very spot of the picture.
    vec2 reflectCoords = ndc;

    vec3 toEye = EyePos - WorldPos;
    float eyeDist = length(toEye);
    vec3 V = toEye / eyeDist;

    // Broad ripples and fine chop, drifting against each other. The chop
    // fades out with distance before it can shimmer.
    vec2 p = TexCoords;
    float flow = moveFactor * FLOW_SCALE;
    vec2 swell = texture(dudvMap, p / SWELL_SIZE + vec2(flow, 0.4 * flow)).rg * 2.0 - 1.0;
    vec2 chop = texture(dudvMap, CHOP_TURN * p / CHOP_SIZE + vec2(-0.7 * flow, 1.3 * flow)).rg * 2.0 - 1.0;
    // The water picture, read very large, says where the wind roughens the
    // sea and where it lies calm, so the far sea is not evenly patterned.
    vec3 waterColour = texture(texture_diffuse1, p / WIND_SIZE + swell * 0.01).rgb;
    float wind = clamp(0.4 + 6.0 * (waterColour.g - 0.33), 0.15, 1.4);
    float near = 1.0 - smoothstep(6.0, 45.0, eyeDist);
    vec2 ripple = swell * (0.55 + 0.25 * wind) + chop * (wind * (0.15 + 0.75 * near));

    // Calm the distortion with distance so far water doesn't crawl.
    vec2 distortion = ripple * WAVE_STRENGTH * mix(1.0, 0.3, smoothstep(10.0, 60.0, eyeDist));
    refractCoords = clamp(refractCoords + distortion, 0.001, 0.999);
    reflectCoords = clamp(reflectCoords + distortion, 0.001, 0.999);

    vec3 reflection = texture(reflectionTexture, reflectCoords).rgb;
    // What is seen through the water loses light with depth: the open sea
    // looks deep and lets the mirrored island and sky stand out on it.
    vec3 refraction = mix(texture(refractionTexture, refractCoords).rgb, DEEP_WATER, DEPTH_TINT);

    // Fresnel (Schlick-style, softened): mostly see-through from above,
    // mirror-like towards the horizon.
    vec3 n = normalize(SurfaceNormal + vec3(ripple.x, 0.0, ripple.y) * NORMAL_BUMP);
    float cosView = clamp(dot(V, n), 0.0, 1.0);
    float fresnel = FRESNEL_F0 + (1.0 - FRESNEL_F0) * pow(1.0 - cosView, 3.0);

    vec3 color = mix(refraction, reflection, fresnel);

    color = mix(color, waterColour, COLOUR_TINT);

    // Lamp glints on the ripples.
    vec3 glintNormal = normalize(SurfaceNormal + vec3(ripple.x, 0.0, ripple.y) * GLINT_BUMP);
    vec3 L = normalize(lightPos - WorldPos);
    vec3 H = normalize(L + V);
    float glint = pow(max(dot(glintNormal, H), 0.0), GLINT_POWER) * GLINT_STRENGTH;
    // Shadows darken the water and take the lamp's glints away.
    float lit = 1.0 - SHADOW_STRENGTH * shadowAmount();
    color = color * lit + vec3(glint) * (lit * lit);

    // Horizontal distance, so the top-down map view is not fogged.
    // Slow at first, so the sea keeps its colour well out.
    float fog = pow(smoothstep(FOG_START, FOG_END, length(toEye.xz)), 1.6);
    FragColor = vec4(mix(color, SKY_COLOR, fog), 1.0);
}
