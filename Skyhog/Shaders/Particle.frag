#version 330 core
// Particle.frag - a soft round droplet: smooth rim, a bit of roundness
// shading and a small highlight up and to the left. Alpha from the colour.

in vec2 Corner;
in vec4 ParticleColor;

out vec4 FragColor;

void main()
{
    vec2 p = Corner * 2.0;            // -1..1, unit circle fits the quad
    float r2 = dot(p, p);
    if (r2 > 1.0)
        discard;

    float r = sqrt(r2);
    float edge = 1.0 - smoothstep(0.75, 1.0, r);
    float bulge = sqrt(1.0 - r2);                        // sphere-ish shading
    float highlight = 1.0 - smoothstep(0.0, 0.35, length(p - vec2(-0.35, 0.35)));

    vec3 rgb = ParticleColor.rgb * (0.75 + 0.25 * bulge) + vec3(0.6) * highlight;
    FragColor = vec4(min(rgb, vec3(1.0)), ParticleColor.a * edge);
}
