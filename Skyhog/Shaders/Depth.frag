#version 330 core
// Depth.frag - depth only; the rasteriser writes the depth for us.

void main()
{
}
