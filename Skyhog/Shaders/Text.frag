#version 330 core
// Text.frag - one-channel glyph coverage (unit 0, red) as alpha, in textColor,
// with a dark rim so the lettering reads over sand, sea and sky alike. The rim
// lies inside the glyph's own coverage (its quad is the glyph's bitmap and no
// larger): where the coverage a little way off in any direction falls away,
// the stroke is near its edge and is drawn dark; deeper inside it keeps
// textColor. Outside the bitmap counts as no ink, so strokes that touch the
// bitmap's edge get their rim too. textOpacity fades the whole text.

in vec2 TexCoords;

uniform sampler2D text;
uniform vec3 textColor;
uniform float textOpacity;   // fades the whole text (the score keeps 1)

out vec4 FragColor;

const vec3 RIM_COLOUR = vec3(0.12, 0.06, 0.02);
const float RIM_TEXELS = 2.0;   // rim width in glyph texels (glyphs are 48 texels high, bold strokes about 7 wide)

float inkAt(vec2 uv)
{
    bool inside = all(greaterThanEqual(uv, vec2(0.0))) && all(lessThanEqual(uv, vec2(1.0)));
    return inside ? texture(text, uv).r : 0.0;
}

void main()
{
    float coverage = texture(text, TexCoords).r;
    vec2 step = RIM_TEXELS / vec2(max(textureSize(text, 0), ivec2(1)));
    vec2 diagonal = step * 0.7071;
    float inner = min(min(min(inkAt(TexCoords + vec2(step.x, 0.0)), inkAt(TexCoords - vec2(step.x, 0.0))),
                          min(inkAt(TexCoords + vec2(0.0, step.y)), inkAt(TexCoords - vec2(0.0, step.y)))),
                      min(min(inkAt(TexCoords + diagonal), inkAt(TexCoords - diagonal)),
                          min(inkAt(TexCoords + vec2(diagonal.x, -diagonal.y)),
                              inkAt(TexCoords + vec2(-diagonal.x, diagonal.y)))));
    vec3 colour = mix(RIM_COLOUR, textColor, smoothstep(0.25, 0.75, inner));
    FragColor = vec4(colour, coverage * textOpacity);
}
