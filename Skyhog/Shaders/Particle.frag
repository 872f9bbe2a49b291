#version 330 core
// Particle.frag - a falling drop: a round, bright head at the bottom and a
// thin tail above it that narrows and fades towards where the drop came from
// (the hint of motion). Heads and tails alternate down the stream, so it reads
// as a line of drops rather than one bar. Shaded as a little cylinder of
// liquid with a glint down one side. Splashes are thin rings that fade as
// they spread. Alpha comes from the colour.

in vec2 Corner;
in vec4 ParticleColor;
flat in float Splash;
flat in float Aspect;

out vec4 FragColor;

const float TAIL_START = 0.36;   // the tail's half-width where it leaves the head (head = 0.5)
const float TAIL_END = 0.18;     // ... and at its far end
const float TAIL_ALPHA = 0.3;    // how much of the drop's alpha the tail's end keeps

void main()
{
    if (Splash > 0.0) {
        float r = length(Corner * 2.0);           // 0 centre .. 1 rim
        float ring = 1.0 - smoothstep(0.0, 0.18, abs(r - 0.8));
        float alpha = ring * (1.0 - Splash) * 0.9;
        if (alpha < 0.02)
            discard;
        FragColor = vec4(mix(ParticleColor.rgb, vec3(1.0), 0.55), alpha);
        return;
    }

    // In units of the streak's width: s runs from 0 below the drop to Aspect
    // at the tail's end; the head is a disc of radius 0.5 centred at s = 0.5.
    float s = (Corner.y + 0.5) * Aspect;
    float tail = clamp((s - 0.5) / max(Aspect - 0.5, 0.01), 0.0, 1.0);
    float headHalf = sqrt(max(0.25 - (s - 0.5) * (s - 0.5), 0.0));
    float halfWidth = max(headHalf, s > 0.5 ? mix(TAIL_START, TAIL_END, tail) : 0.0);
    float x = Corner.x / max(halfWidth, 1e-3);     // -1..1 across the drop here
    if (abs(x) > 1.0)
        discard;

    float bulge = sqrt(1.0 - x * x);               // rounder in the middle
    float glint = 1.0 - smoothstep(0.0, 0.35, abs(x + 0.45));
    float fade = mix(1.0, TAIL_ALPHA, smoothstep(0.0, 1.0, tail));
    float rim = 1.0 - smoothstep(0.6, 1.0, abs(x));

    vec3 rgb = ParticleColor.rgb * (0.7 + 0.3 * bulge) + vec3(0.45) * glint * fade;
    float alpha = clamp(ParticleColor.a * 1.5, 0.0, 1.0) * mix(rim, 1.0, 0.35) * fade;
    FragColor = vec4(min(rgb, vec3(1.0)), alpha);
}
