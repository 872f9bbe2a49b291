#version 330 core
// LightTest.frag - ambient + Lambert + Blinn-Phong shine from the lamp
// (lightPos / lightColor, material.shininess) on the diffuse texture (unit 0).

struct Material {
    float shininess;
};

in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;
flat in vec3 EyePos;

uniform sampler2D texture_diffuse1;
uniform vec3 lightPos;
uniform vec3 lightColor;
uniform Material material;

out vec4 FragColor;

void main()
{
    vec3 albedo = texture(texture_diffuse1, TexCoords).rgb;
    vec3 n = normalize(Normal);
    vec3 L = normalize(lightPos - FragPos);
    vec3 V = normalize(EyePos - FragPos);
    vec3 H = normalize(L + V);
    float diff = max(dot(n, L), 0.0);
    float shine = pow(max(dot(n, H), 0.0), material.shininess) * step(0.0001, diff);
    FragColor = vec4(albedo * (0.3 + 0.7 * diff) * lightColor + 0.3 * shine * lightColor, 1.0);
}
