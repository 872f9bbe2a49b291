#version 330 core
// SkyBox.vert - the sky cube (corners at +-1), pinned to the far plane.
// C++ supplies view (translation removed) and projection.

layout(location = 0) in vec3 aPos;

uniform mat4 view;
uniform mat4 projection;

out vec3 TexCoords;

// The eye is never more than about 13 units above the sea, and the sea
// reaches past the far plane (100 units) all round, so everything more than
// 0.14 below the horizon (a normalised y) is covered by the sea and need not
// be drawn at all. On the cube |aPos| is at most sqrt(3), so aPos.y < -0.14 *
// sqrt(3) is always such a direction. Only the water passes enable
// GL_CLIP_DISTANCE0; in the others Mesa's llvmpipe clips all the same and
// saves the work, while a driver that clips only where the distance is
// enabled draws those pixels and the sea covers them.
const float PLAIN_BELOW = -0.14 * 1.7321;

// The reflection pass's camera is upside down (its up has a negative y; the
// player's view never tilts past 89 degrees, the map looks straight down).
// There the sky is drawn as the player's eye sees it mirrored in the sea, as
// the models are (see Shadow.vert): the direction mirrored in the horizontal
// plane, seen with the upside-down turn's right and up negated.
const float UPSIDE_DOWN = -0.005;

void main()
{
    TexCoords = aPos;
    vec4 pos = projection * view * vec4(aPos, 1.0);
    if (view[1][1] < UPSIDE_DOWN) {
        const vec3 upright = vec3(-1.0, -1.0, 1.0);
        mat3 eyeTurn = mat3(view[0].xyz * upright, view[1].xyz * upright, view[2].xyz * upright);
        pos = projection * vec4(eyeTurn * vec3(aPos.x, -aPos.y, aPos.z), 1.0);
    }
    gl_ClipDistance[0] = aPos.y - PLAIN_BELOW;
    // The cube is drawn first with depth writes off, so it needs no far-plane
    // trick: everything drawn afterwards covers it. (Depth exactly 1.0 would fail
    // the default GL_LESS test against the cleared buffer.)
    gl_Position = pos;
}
