#version 330 core
// Test.frag - unlit textured model (texture_diffuse1, unit 0) with a touch of
// normal-based shading so the shape still reads.

in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;
flat in vec3 EyePos;

uniform sampler2D texture_diffuse1;

out vec4 FragColor;

void main()
{
    vec3 n = normalize(Normal);
    float shade = 0.75 + 0.25 * n.y;
    FragColor = vec4(texture(texture_diffuse1, TexCoords).rgb * shade, 1.0);
}
