#version 330 core
// Particle.vert - the pig's stream: falling drops and the splashes where they
// land, one instance each, all in one draw.
// Per vertex: squareVertices (quad corner, +-0.5). Per instance: xyzs (world
// centre + size), color (normalised bytes), motion and cohesion. motion.w is
// kind * 10 + age in seconds (the kinds are game/StreamInstance.h's); for a
// drop, motion.xyz runs from it to the drop that left the pig just after it
// (its neighbour up the stream; the newest runs to the pig), and cohesion is
// how much it still belongs to the unbroken stream (1) rather than being a
// drop of its own (0). For a splash, motion.x is a number in [0, 1) of its own.
// C++ supplies projection, view and the camera's right / up axes in world space.
//
// A drop is drawn as a capsule from itself up to its neighbour, turned about
// its axis to face the eye, so neighbours join into one unbroken stream at any
// frame rate. Young drops make a thin column that swells a little here and
// there; as their cohesion goes the column necks and breaks into round drops
// with short tails. The stream sways sideways in a wave that travels down
// with the liquid, as a sway at the pig would leave it.
//
// The stream is drawn before the sea and writes depth, so the sea is not drawn
// over it later; what lies behind a drop over open sea is still the sea floor.
// For those, this works out how much the sea will show of the floor behind
// and what it adds of its own (Water.frag's tints, Fresnel and fog, without
// its ripples), so Particle.frag can blend the drop over the sea-to-be.

layout(location = 0) in vec3 squareVertices;
layout(location = 1) in vec4 xyzs;
layout(location = 2) in vec4 color;
layout(location = 3) in vec4 motion;
layout(location = 4) in float cohesion;

uniform mat4 projection;
uniform mat4 view;
uniform vec3 cameraRight_worldspace;
uniform vec3 cameraUp_worldspace;

out vec2 Local;          // where in the instance's shape, in world units (splashes: -1..1 across it)
out vec4 ParticleColor;
flat out int Kind;
flat out float Age;      // seconds
flat out float Seed;     // 0..1, the instance's own variation
flat out vec4 Shape;     // a drop: bottom radius, top radius, the distance between their centres, broken (0..1)
flat out vec4 Sea;       // rgb what the sea adds, a how much of the floor it lets through; a < 0: not over the sea

const int DROP = 0;
const int DROP_OVER_SEA = 1;
const int SEA_RING = 2;
const int SEA_BURST = 3;
const int WET_SPOT = 4;
const int SAND_BURST = 5;
const int HIT_BURST = 6;

const float SEA_LEVEL = -5.0;        // the water plane's height
const float FALL_SPEED = 15.0;       // the drops' speed, for a neighbour's age

const float COLUMN_RADIUS = 0.032;   // the stream as it leaves the pig ...
const float COLUMN_GROWTH = 0.3;     // ... widening by this much per second of fall
const float DROP_RADIUS = 0.045;     // a broken-off drop, smallest (the largest is 1.6 times)
const float DROP_TRAIL = 3.0;        // a falling drop streaks this many radii up behind it
const float WOBBLE = 0.03;           // sideways sway, world units, once fully grown
const float WOBBLE_RATE = 40.0;      // radians per second of fall: a wave every 2.4 units
const float SWELL = 0.18;            // the column's swellings, a fraction of its radius ...
const float SWELL_RATE = 110.0;      // ... one every 0.86 units
const float SPOT_LIFT = 0.05;        // wet spots move this far towards the eye, clear of the sand

// Water.frag's numbers, for the sea that will be drawn behind a drop.
const vec3 SKY_COLOR = vec3(0.64, 0.8, 0.94);
const vec3 DEEP_WATER = vec3(0.05, 0.22, 0.3);
const vec3 WATER_TINT = vec3(0.09, 0.36, 0.46);   // the water picture's mean colour
const float DEPTH_TINT = 0.5;
const float COLOUR_TINT = 0.12;
const float FRESNEL_F0 = 0.08;
const float FOG_START = 25.0;
const float FOG_END = 100.0;

// How the sea drawn later over the point `behind` (on the surface) will
// combine what lies under it (a) with its own colour (rgb), seen from eye.
vec4 seaOver(vec3 behind, vec3 eye)
{
    vec3 toEye = eye - behind;
    float cosView = clamp(normalize(toEye).y, 0.0, 1.0);
    float fresnel = FRESNEL_F0 + (1.0 - FRESNEL_F0) * pow(1.0 - cosView, 3.0);
    float through = (1.0 - fresnel) * (1.0 - DEPTH_TINT) * (1.0 - COLOUR_TINT);
    vec3 own = ((1.0 - fresnel) * DEPTH_TINT * DEEP_WATER + fresnel * SKY_COLOR) * (1.0 - COLOUR_TINT)
             + COLOUR_TINT * WATER_TINT;
    float fog = pow(smoothstep(FOG_START, FOG_END, length(toEye.xz)), 1.6);
    return vec4(mix(own, SKY_COLOR, fog), through * (1.0 - fog));
}

// Where the eye's ray through `point` meets the sea, when it goes down to it.
bool seaBehind(vec3 point, vec3 eye, out vec3 behind)
{
    vec3 ray = point - eye;
    behind = point;
    if (ray.y > -1e-4)
        return false;
    behind = eye + ray * ((SEA_LEVEL - eye.y) / ray.y);
    return true;
}

// The unbroken column's radius where its liquid has fallen for `age` seconds.
float columnRadius(float age)
{
    return (COLUMN_RADIUS + COLUMN_GROWTH * age) * (1.0 + SWELL * sin(age * SWELL_RATE));
}

// The stream's sideways sway at a drop that has fallen for `age` seconds.
float sway(float age)
{
    return WOBBLE * smoothstep(0.0, 0.12, age) * sin(age * WOBBLE_RATE);
}

void main()
{
    // Codes run from kind * 10 to kind * 10 + 9: read from the middle of the
    // gap, since a GPU's division may be off in its last bits.
    int kind = int(floor((motion.w + 0.5) / 10.0));
    float age = motion.w - 10.0 * float(kind);
    vec3 centre = xyzs.xyz;
    float size = xyzs.w;
    mat3 turn = transpose(mat3(view));         // view space to world space
    vec3 eye = -turn * view[3].xyz;

    // Across the line of sight, level: the way a sway or a burst spreads.
    vec3 side = cross(vec3(0.0, 1.0, 0.0), eye - centre);
    side = dot(side, side) > 1e-6 ? normalize(side) : cameraRight_worldspace;

    Kind = kind;
    Age = age;
    ParticleColor = color;
    Sea = vec4(0.0, 0.0, 0.0, -1.0);
    Shape = vec4(0.0);
    vec3 worldPos;

    if (kind == DROP || kind == DROP_OVER_SEA) {
        Seed = clamp((size - 0.1) * 2.0, 0.0, 1.0);   // sizes are 0.1 .. 0.6
        float broken = 1.0 - cohesion;
        // The neighbour up the stream left the pig a little later: sway it by its own age.
        float neighbourAge = max(age - motion.y / FALL_SPEED, 0.0);
        vec3 bottom = centre + side * sway(age) * cohesion;
        vec3 top = centre + motion.xyz + side * sway(neighbourAge) * cohesion;

        // Each end takes the column's width where it is, so that neighbours meet.
        float drop = DROP_RADIUS * (1.0 + 0.6 * Seed);
        float bottomRadius = mix(columnRadius(age), drop, broken);
        float topRadius = mix(columnRadius(neighbourAge), 0.45 * drop, broken);
        // The capsule is laid out in the plane facing the eye, so its ends
        // look round from any angle: the axis is taken as the eye sees it. A
        // drop of its own trails straight up behind its fall; in the stream
        // it runs up to its neighbour.
        vec3 toDrop = normalize(bottom - eye);
        vec3 axis = mix(top - bottom, vec3(0.0, DROP_TRAIL * drop, 0.0), broken);
        vec3 seen = axis - dot(axis, toDrop) * toDrop;
        float reach = length(seen);
        vec3 along = reach > 1e-5 ? seen / reach : cameraUp_worldspace;
        vec3 across = normalize(cross(along, toDrop));
        float h = max(reach, abs(bottomRadius - topRadius) + 1e-3);

        // The quad covers both end circles, with a little room for the soft edge.
        float halfWidth = max(bottomRadius, topRadius) * 1.25;
        float below = bottomRadius * 1.25;
        float extent = below + h + topRadius * 1.25;
        Local = vec2(squareVertices.x * 2.0 * halfWidth, (squareVertices.y + 0.5) * extent - below);
        worldPos = bottom + across * Local.x + along * Local.y;
        Shape = vec4(bottomRadius, topRadius, h, broken);

        vec3 behind;
        if (kind == DROP_OVER_SEA && seaBehind(bottom, eye, behind))
            Sea = seaOver(behind, eye);
    } else if (kind == SEA_RING || kind == WET_SPOT) {
        // Flat on the surface, the size of its square.
        Seed = motion.x;
        Local = squareVertices.xy * 2.0;
        worldPos = centre + vec3(squareVertices.x, 0.0, squareVertices.y) * 2.0 * size;
        if (kind == SEA_RING) {
            worldPos.y = SEA_LEVEL + 0.02;
            Sea = seaOver(vec3(centre.x, SEA_LEVEL, centre.z), eye);
        } else {
            worldPos.y += 0.02;
            worldPos += normalize(eye - worldPos) * SPOT_LIFT;
        }
    } else {
        // A burst: droplets thrown up from the surface, on a square facing
        // the eye that stands on the landing point.
        Seed = motion.x;
        Local = squareVertices.xy * 2.0;
        // A hit's burst is centred on the person; a landing's stands on its point.
        vec3 up = cameraUp_worldspace;
        float raise = kind == HIT_BURST ? 0.0 : 0.7;
        worldPos = centre + (cameraRight_worldspace * squareVertices.x * 2.0 + up * (squareVertices.y * 2.0 + raise))
                 * size;
        vec3 behind;
        if (kind == SEA_BURST && seaBehind(centre + up * raise * size, eye, behind))
            Sea = seaOver(behind, eye);
    }

    gl_ClipDistance[0] = 1.0;
    gl_Position = projection * view * vec4(worldPos, 1.0);
}
