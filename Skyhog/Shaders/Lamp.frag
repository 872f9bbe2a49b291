#version 330 core
// Lamp.frag - flat white, the lamp's own colour.

out vec4 FragColor;

void main()
{
    FragColor = vec4(1.0);
}
