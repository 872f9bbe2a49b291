#version 330 core
// SkyBox.frag - cube-map sky (unit 0) with a light haze at the horizon, so
// the fogged far edge of the sea blends into it without a seam.

in vec3 TexCoords;

uniform samplerCube skybox;

out vec4 FragColor;

const vec3 SKY_COLOR = vec3(0.52, 0.8, 1.0);
const float HAZE_STRENGTH = 0.65;

void main()
{
    vec3 sky = texture(skybox, TexCoords).rgb;
    // Haze above the horizon; below it, where only the sea's fogged far
    // edge can sit in front, go all the way to the fog colour.
    float height = normalize(TexCoords).y;
    float haze = max((1.0 - smoothstep(0.0, 0.3, height)) * HAZE_STRENGTH,
                     1.0 - smoothstep(-0.08, 0.0, height));
    FragColor = vec4(mix(sky, SKY_COLOR, haze), 1.0);
}
