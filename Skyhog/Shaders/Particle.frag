#version 330 core
// Particle.frag - the pig's stream and its splashes (see Particle.vert).
// A drop is a little cylinder of golden liquid: darker and denser at its
// edges, clearer in the middle, with a glint down one side. Splashes: rings
// of foam spreading on the sea, droplets thrown up from the sea, the sand or a
// person who was hit, and a wet, darker patch on the sand. All fade within
// about a second.
//
// Output is premultiplied (the stream's draw blends with 1, 1 - alpha): over
// the open sea, a fragment also adds what the sea will add there, and lets
// through only as much of the floor behind as the sea would (Sea from the
// vertex stage). Empty parts are discarded so the sea is drawn there.

in vec2 Local;
in vec4 ParticleColor;
flat in int Kind;
flat in float Age;
flat in float Seed;
flat in vec4 Shape;
flat in vec4 Sea;

out vec4 FragColor;

const int DROP = 0;
const int DROP_OVER_SEA = 1;
const int SEA_RING = 2;
const int SEA_BURST = 3;
const int WET_SPOT = 4;
const int SAND_BURST = 5;
const int HIT_BURST = 6;

const vec3 FOAM = vec3(0.93, 0.97, 1.0);
const vec3 WET_SAND = vec3(0.36, 0.27, 0.12);
const float GRAVITY = 9.0;   // pulls the burst's droplets back, in square sizes per second squared

// Signed distance from p to a capsule standing on the origin: a circle of
// radius r1 there, one of r2 at (0, h), and the tangent lines between them
// (h > |r1 - r2|). Negative inside.
float unevenCapsule(vec2 p, float r1, float r2, float h)
{
    p.x = abs(p.x);
    // The tangent lines make an angle with the axis whose sine is (r1 - r2) / h.
    float s = (r1 - r2) / h;
    float c = sqrt(1.0 - s * s);
    float k = dot(p, vec2(-s, c));   // how far up the axis p lies, measured along the tangent
    if (k < 0.0)
        return length(p) - r1;
    if (k > c * h)
        return length(p - vec2(0.0, h)) - r2;
    return dot(p, vec2(c, s)) - r1;
}

// A little hash of two numbers into 0..1.
float hash(float a, float b)
{
    return fract(sin(a * 127.1 + b * 311.7) * 43758.5453);
}

// Droplets thrown out from a point of the burst's square (Local -1..1),
// spread over `fan` radians either side of straight up, and pulled back down;
// how much of this fragment they cover. On a surface they start from the
// landing point (y = -0.7) and vanish back into it. pixel: Local's size of
// one pixel.
float droplets(int count, float speed, float life, float fan, float fromY, bool surface, float pixel)
{
    float t = Age;
    if (t >= life)
        return 0.0;
    float cover = 0.0;
    for (int i = 0; i < count; ++i) {
        float fi = float(i);
        float angle = ((fi + 0.5) / float(count) * 2.0 - 1.0) * fan + (hash(Seed, fi) - 0.5) * 0.4;
        float v = speed * (0.55 + 0.45 * hash(fi, Seed));
        vec2 at = vec2(sin(angle), cos(angle)) * v * t;
        at.y += fromY - 0.5 * GRAVITY * t * t;
        if (surface && at.y < fromY)
            continue;
        float radius = 0.09 * (1.0 - t / life) + 0.025;
        cover = max(cover, clamp(0.5 - (length(Local - at) - radius) / pixel, 0.0, 1.0));
    }
    return cover;
}

void main()
{
    // One pixel in Local's units, worked out here where every fragment of
    // the quad takes the same path.
    float pixel = max(length(fwidth(Local)) * 0.7071, 1e-5);
    vec3 rgb;
    float alpha;

    if (Kind == DROP || Kind == DROP_OVER_SEA) {
        float r1 = Shape.x, r2 = Shape.y, h = Shape.z;
        float d = unevenCapsule(Local, r1, r2, h);
        float coverage = clamp(0.5 - d / pixel, 0.0, 1.0);
        // In the stream, each end overlaps the next drop's, and a pixel takes
        // the stream's colour only once: soft ends would leave seams, so the
        // ends are cut hard there and only the sides are smoothed.
        bool end = Local.y < 0.0 || Local.y > h;
        if (end && Shape.w < 0.5)
            coverage = d <= 0.0 ? 1.0 : 0.0;
        // Across the drop: 0 on its axis, 1 at its edge.
        float radius = mix(r1, r2, clamp(Local.y / h, 0.0, 1.0));
        float x = clamp(Local.x / max(radius, 1e-5), -1.0, 1.0);
        float bulge = sqrt(1.0 - x * x);
        // Liquid, not plastic: the middle lets most of what lies behind
        // through, the edges are denser amber, a narrow bright streak runs
        // down the lit side and a faint rim of sky light down the other.
        float glint = exp(-pow((x + 0.42) / 0.09, 2.0));
        float rim = exp(-pow((x - 0.8) / 0.12, 2.0)) * 0.35;
        vec3 amber = ParticleColor.rgb * vec3(0.55, 0.34, 0.12);
        vec3 clear = ParticleColor.rgb * vec3(1.0, 0.93, 0.78);
        rgb = mix(amber, clear, smoothstep(0.0, 0.9, bulge)) + vec3(1.0) * glint + vec3(0.8, 0.9, 1.0) * rim;
        alpha = mix(0.95, 0.5, bulge);
        alpha = max(alpha, max(glint, rim)) * coverage;
    } else if (Kind == SEA_RING) {
        // Foam where the stream strikes, and two rings spreading from it, the
        // second trailing; fast at first, then slower.
        float r = length(Local);
        float spread = 0.12 + 0.8 * sqrt(Age);
        float width = max(pixel * 1.5, 0.04 + 0.05 * Age);
        float ring = 1.0 - smoothstep(0.0, width, abs(r - spread));
        ring += 0.7 * (1.0 - smoothstep(0.0, width, abs(r - spread * 0.6)));
        float foam = (1.0 - smoothstep(0.05, 0.22, r)) * (1.0 - smoothstep(0.0, 0.3, Age));
        rgb = mix(FOAM, ParticleColor.rgb, 0.12);
        alpha = max(min(ring, 1.0) * pow(1.0 - Age, 1.2), foam) * 0.9;
    } else if (Kind == WET_SPOT) {
        // An uneven patch, darker in the middle, that dries away.
        float r = length(Local);
        float angle = atan(Local.y, Local.x);
        float edge = 0.72 + 0.12 * sin(3.0 * angle + Seed * 6.283) + 0.07 * sin(5.0 * angle + Seed * 17.0);
        float inside = 1.0 - smoothstep(edge - 0.18, edge, r);
        float fade = smoothstep(0.0, 0.06, Age) * (1.0 - smoothstep(0.35, 1.0, Age));
        rgb = mix(WET_SAND, ParticleColor.rgb * 0.45, 0.25);
        alpha = inside * mix(0.45, 0.3, r) * fade;
    } else {
        // A hit sprays all round the person's middle; a landing throws up a fan.
        float cover = Kind == HIT_BURST ? droplets(12, 2.4, 0.5, 3.1416, 0.0, false, pixel)
                                        : droplets(7, 3.0, 0.4, 0.9, -0.7, true, pixel);
        rgb = Kind == SEA_BURST ? mix(FOAM, ParticleColor.rgb, 0.3) : mix(ParticleColor.rgb, vec3(1.0), 0.15);
        alpha = cover * 0.9;
    }

    if (alpha < 0.01)
        discard;
    if (Sea.a >= 0.0)
        FragColor = vec4(rgb * alpha + (1.0 - alpha) * Sea.rgb, 1.0 - (1.0 - alpha) * Sea.a);
    else
        FragColor = vec4(rgb * alpha, alpha);
}
