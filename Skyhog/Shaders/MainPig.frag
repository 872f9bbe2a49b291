#version 330 core
// MainPig.frag - the pig with its diffuse texture (unit 0), lit by the lamp
// (lightPos / lightColor) with ambient + Lambert. No shadows.

in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;
flat in vec3 EyePos;

uniform sampler2D texture_diffuse1;
uniform vec3 lightPos;
uniform vec3 lightColor;

out vec4 FragColor;

void main()
{
    vec3 albedo = texture(texture_diffuse1, TexCoords).rgb;
    vec3 n = normalize(Normal);
    float diff = max(dot(n, normalize(lightPos - FragPos)), 0.0);
    FragColor = vec4(albedo * (0.35 + 0.7 * diff * lightColor), 1.0);
}
