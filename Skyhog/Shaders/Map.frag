#version 330 core
// Map.frag - the top-down map picture (unit 0) with a thin dark frame
// about two pixels wide, whatever size the quad is drawn at.

in vec2 TexCoords;

uniform sampler2D mapTexture;

out vec4 FragColor;

const vec3 FRAME_COLOR = vec3(0.08, 0.07, 0.06);
const float FRAME_PIXELS = 2.0;

void main()
{
    vec4 picture = texture(mapTexture, TexCoords);

    // Distance to the nearest edge, measured in screen pixels.
    vec2 toEdge = min(TexCoords, 1.0 - TexCoords) / max(fwidth(TexCoords), vec2(1e-6));
    float edge = min(toEdge.x, toEdge.y);
    float frame = 1.0 - smoothstep(FRAME_PIXELS - 0.5, FRAME_PIXELS + 0.5, edge);

    FragColor = vec4(mix(picture.rgb, FRAME_COLOR, frame), mix(picture.a, 1.0, frame));
}
