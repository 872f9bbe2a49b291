#version 330 core
// DebugDepth.frag - the shadow map (depthMap, unit 0) as grey. The light's
// projection is orthographic, so depth is already linear.

in vec2 TexCoords;

uniform sampler2D depthMap;

out vec4 FragColor;

void main()
{
    float depth = texture(depthMap, TexCoords).r;
    FragColor = vec4(vec3(depth), 1.0);
}
