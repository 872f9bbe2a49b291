#version 330 core
// DebugWater.frag - shows one of the water's pictures (screenTexture, unit 0),
// forced opaque so a cleared alpha can't hide it.

in vec2 TexCoords;

uniform sampler2D screenTexture;

out vec4 FragColor;

void main()
{
    FragColor = vec4(texture(screenTexture, TexCoords).rgb, 1.0);
}
