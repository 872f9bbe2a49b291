#version 330 core
// SkyBox.frag - cube-map sky (unit 0). The pictures carry their own haze,
// which fades down to SKY_COLOR on the horizon; below the horizon, where only
// the sea's fogged far edge can sit in front, the exact fog colour is used,
// so the sea meets the sky without a seam. Further down, seen only in the
// water's mirror, it turns to the clear colour that shows where the cube is
// not drawn (SkyBox.vert).

in vec3 TexCoords;

uniform samplerCube skybox;

out vec4 FragColor;

const vec3 SKY_COLOR = vec3(0.64, 0.8, 0.94);
const vec3 CLEAR_COLOR = vec3(0.52, 0.8, 1.0);

void main()
{
    vec3 sky = texture(skybox, TexCoords).rgb;
    float height = normalize(TexCoords).y;
    vec3 below = mix(SKY_COLOR, CLEAR_COLOR, smoothstep(-0.11, -0.14, height));
    FragColor = vec4(mix(below, sky, smoothstep(-0.004, 0.0, height)), 1.0);
}
