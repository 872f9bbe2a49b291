#version 330 core
// Particle.frag - a falling streak: a round, bright drop at the bottom and a
// tail that narrows and fades above it (the hint of motion), shaded as a
// little cylinder of liquid with a glint down one side. Splashes are thin rings that
// fade as they spread. Alpha comes from the colour.

in vec2 Corner;
in vec4 ParticleColor;
flat in float Splash;

out vec4 FragColor;

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

    float along = Corner.y + 0.5;                  // 0 at the drop, 1 at the tail's end
    float halfWidth = mix(1.0, 0.6, smoothstep(0.0, 0.7, along));
    float x = Corner.x * 2.0 / halfWidth;          // -1..1 across the streak here
    if (abs(x) > 1.0)
        discard;

    float bulge = sqrt(1.0 - x * x);               // rounder in the middle
    float glint = 1.0 - smoothstep(0.0, 0.35, abs(x + 0.45));
    float fade = 1.0 - 0.45 * smoothstep(0.05, 1.0, along);
    float rim = 1.0 - smoothstep(0.7, 1.0, abs(x));

    vec3 rgb = ParticleColor.rgb * (0.7 + 0.3 * bulge) + vec3(0.45) * glint * fade;
    float alpha = clamp(ParticleColor.a * 1.5, 0.0, 1.0) * rim * fade;
    FragColor = vec4(min(rgb, vec3(1.0)), alpha);
}
