#version 330 core
// Intro.frag - the intro picture (screenTexture, unit 0), shown as is.

in vec2 TexCoords;

uniform sampler2D screenTexture;

out vec4 FragColor;

void main()
{
    FragColor = texture(screenTexture, TexCoords);
}
