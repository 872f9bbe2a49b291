#version 330 core
// Text.frag - one-channel glyph coverage (unit 0, red) as alpha, in textColor.

in vec2 TexCoords;

uniform sampler2D text;
uniform vec3 textColor;

out vec4 FragColor;

void main()
{
    float coverage = texture(text, TexCoords).r;
    FragColor = vec4(textColor, coverage);
}
