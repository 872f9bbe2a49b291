#version 330 core
// Shadow.vert - every ordinary model: pig, wings, sea floor, boat, palms, people.
// C++ supplies model (placement included), view, projection, lightSpaceMatrix
// and clipPlane; the mesh gives position / normal / texCoords at locations 0..2.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;
uniform mat4 lightSpaceMatrix;
uniform vec4 clipPlane;

out vec3 FragPos;            // world space
out vec3 Normal;             // world space, re-normalised per fragment
out vec2 TexCoords;
out vec4 FragPosLightSpace;
flat out vec3 EyePos;        // camera position, recovered from the view matrix
flat out vec3 ShadowDir;     // unit vector pointing at the shadow light
// A person's outfit (see Shadow.frag), fixed per model and so worked out
// here rather than for every pixel: the shirt's and the shorts' hue turns
// as (cos, sin), the shirt's and the shorts' brightness, the skin tone per
// channel and the hair's and the hat's colours.
flat out vec2 ShirtTurn;
flat out vec2 ShortsTurn;
flat out float ShortsShade;
flat out float ShirtShade;
flat out vec3 SkinTone;
flat out vec3 HairColour;
flat out vec3 HatColour;

// Roughly one shadow-map texel in world units (100 units over 768 texels).
// The shadow lookup point is pushed this far off the surface on slopes.
const float NORMAL_OFFSET = 0.12;

// The map pass looks straight down from high above the sea and keeps
// everything (its plane lies this far out). The opaque sea is drawn over
// whatever lies under its surface there, so that part is cut off here instead
// of being shaded and then covered; the margin keeps the waterline itself.
// Only the map: the main pass blends the stream's drops, drawn before the sea,
// over what lies under it, so that must stay. (The player's camera can tilt to
// 89 degrees at most, so only the map view reads as straight down.) The map
// pass runs with GL_CLIP_DISTANCE0 disabled: Mesa's llvmpipe clips whenever a
// shader writes the distance, and saves the work; a driver that clips only
// where the distance is enabled clips nothing there and draws the same picture.
const float OPEN_PASS_DISTANCE = 1000.0;
const float STRAIGHT_DOWN = 0.99995;
const float SEA_LEVEL = -5.0;
const float HIDDEN_DEPTH = 0.05;

// The reflection pass is shot from a camera 12 units under the rig, looking
// the same way, upside down: not the player's eye mirrored in the sea, so its
// picture could only be laid over the sea by guessing how far away each
// mirrored thing stands, and things nearer the water than the guess (a
// boat's hull) slid sideways off their mirror images. So in that pass the
// model draws itself as the player's eye sees it mirrored in the water plane,
// and the sea reads the picture right where it lies on the screen. The eye
// follows from the pass's view: the rig is REFLECTION_DROP above that
// camera, the eye CHASE_DISTANCE behind the rig along the view, and the
// eye's turn is the upside-down one with right and up negated.
const float REFLECTION_DROP = 12.0;
const float CHASE_DISTANCE = 4.0;
const float WATER_LEVEL = -5.0;

// The player's eye, from the reflection pass's view.
vec3 mirrorEye(mat4 reflectionView)
{
    mat3 turn = mat3(reflectionView);
    vec3 front = -vec3(turn[0][2], turn[1][2], turn[2][2]);
    vec3 reflectionCamera = -transpose(turn) * reflectionView[3].xyz;
    return reflectionCamera + vec3(0.0, REFLECTION_DROP, 0.0) - CHASE_DISTANCE * front;
}

// Where the player's eye (from mirrorEye) sees the mirror image of a world
// point, in view space.
vec3 mirrorViewPos(mat4 reflectionView, vec3 eye, vec3 worldPos)
{
    const vec3 upright = vec3(-1.0, -1.0, 1.0);
    mat3 turn = mat3(reflectionView);
    mat3 eyeTurn = mat3(turn[0] * upright, turn[1] * upright, turn[2] * upright);
    vec3 mirrored = vec3(worldPos.x, 2.0 * WATER_LEVEL - worldPos.y, worldPos.z);
    return eyeTurn * (mirrored - eye);
}

// --- The people's shapes, poses and walk (the same in Shadow.vert and
// Depth.vert, so a person's shadow wears and does what the person does). ---
// One model, drawn thirteen times. Texture u from PERSON_BAND up marks a
// person's vertex (Shadow.frag dresses it by the band); the whole number in
// v / 2 tells its part. The model is in its own units (0.7 per metre it was
// built in), standing on its origin and facing +z; the joints are where the
// data generator put them.
const float PERSON_BAND = 64.0;
const float METRE = 0.7;
const float TORSO = 0.0;
const float HEAD = 1.0;
const float LEFT_LEG = 2.0;   // the person's left is +x
const float RIGHT_LEG = 3.0;
const float LEFT_ARM = 4.0;
const float RIGHT_ARM = 5.0;
const float SHORT_HAIR = 6.0;
const float LONG_HAIR = 7.0;
const float PONYTAIL = 8.0;
const float HAT = 9.0;
const vec3 LEFT_HIP = vec3(0.119, 0.92, 0.0) * METRE;
const vec3 LEFT_SHOULDER = vec3(0.259, 1.4, 0.0) * METRE;
const vec3 LEFT_ELBOW = vec3(0.356, 1.13, 0.031) * METRE;
const vec3 UPPER_ARM = normalize(LEFT_ELBOW - LEFT_SHOULDER);   // shoulder to elbow
// The sleeve ends this far above the elbow and the skin's ring at the elbow
// lies across it: the bend takes none of the one and half of the other.
const float ELBOW_RING = 0.05 * METRE;
const vec3 HAIR_CENTRE = vec3(0.0, 1.67, 0.0) * METRE;
// The head nods about a point a little below its middle, so a hat's brim
// stays within the model's box; the neck bends with it between these heights.
const vec3 NOD_CENTRE = vec3(0.0, 1.62, 0.0) * METRE;
const float NECK_LOW = 1.45 * METRE;
const float NECK_TOP = 1.56 * METRE;
const float NECK = 1.45 * METRE;
const vec3 CURLS = vec3(1.2, 1.12, 1.2);
// People walk along x while facing +z, so they step sideways: the leading
// foot steps out, the other closes up. One step of each foot per this many
// world units walked.
const float STRIDE = 0.5;
const float FOOT_LIFT = 0.05 * METRE;
const float ARM_SWING = 0.3;      // radians each way
const float ARM_OUT = 0.15;       // radians out from the body, legs wide apart

// How a person holds an arm, for the left arm (the right one mirrors it):
// the (cos, sin) of the shoulder's turn out from the body (x towards y) and
// forward (z towards y), then of the elbow's bend out and forward, applied
// to the forearm before the shoulder turns the whole arm; and how much of the
// walk's swing the arm keeps, and how far (radians) the forearm waves in
// towards the head twice a stride.
const float HANGING = 0.0;   // at the side, swinging with the walk
const float HELD_OUT = 1.0;  // a little out and forward, elbow bent
const float ON_HIP = 2.0;
const float WAVING = 3.0;    // upper arm out and up, forearm upright
const float POINTING = 4.0;  // straight up at the sky, a little forward
const float SHADING = 5.0;   // the hand at the brow, shading the eyes
const vec4 SHOULDER_TURNS[6] = vec4[6](
    vec4(1.0, 0.0, 1.0, 0.0),
    vec4(cos(0.12), sin(0.12), 1.0, 0.0),
    vec4(cos(0.4), sin(0.4), cos(-0.25), sin(-0.25)),
    vec4(cos(1.95), sin(1.95), cos(0.15), sin(0.15)),
    vec4(cos(2.44), sin(2.44), cos(0.25), sin(0.25)),
    vec4(cos(0.5), sin(0.5), cos(0.9), sin(0.9)));
const vec4 ELBOW_TURNS[6] = vec4[6](
    vec4(1.0, 0.0, 1.0, 0.0),
    vec4(cos(-0.1), sin(-0.1), cos(0.4), sin(0.4)),
    vec4(cos(-1.45), sin(-1.45), 1.0, 0.0),
    vec4(cos(1.15), sin(1.15), 1.0, 0.0),
    vec4(cos(0.14), sin(0.14), 1.0, 0.0),
    vec4(1.0, 0.0, cos(2.2), sin(2.2)));
const vec2 ARM_MOTIONS[6] = vec2[6](vec2(1.0, 0.0), vec2(0.2, 0.0), vec2(0.0), vec2(0.0, 0.3), vec2(0.0), vec2(0.0));
// Whole poses: the left and the right arm, how far (radians) the head tips
// back to look up (the pig flies overhead) and the tallest build the pose
// allows, so that a raised hand stays under the top of the model's box (the
// hat's crown), which the game hits.
const int POSES = 8;
const vec4 POSE_TABLE[POSES] = vec4[POSES](
    vec4(HANGING, HANGING, 0.0, 1.0),
    vec4(HELD_OUT, HELD_OUT, 0.0, 1.0),
    vec4(ON_HIP, ON_HIP, 0.0, 1.0),
    vec4(HANGING, WAVING, 0.3, 0.92),
    vec4(WAVING, ON_HIP, 0.3, 0.92),
    vec4(ON_HIP, SHADING, 0.3, 1.0),
    vec4(POINTING, HANGING, 0.3, 0.92),
    vec4(HELD_OUT, ON_HIP, 0.0, 1.0));
const float LOOK_AROUND = 0.12;   // radians, the most others look up

// People walk along x only, so their height and depth name them: a number
// in 0..1, the same for a model wherever it walks. A plain product rather
// than a sine hash, whose last bits differ from one GPU to the next: the
// thirteen wear the same on every machine, and these weights (with the
// multipliers the outfit uses) give them thirteen different shirt colours,
// every hair style at least twice and four hats.
float personVariety(mat4 model)
{
    return fract(dot(model[3].yz, vec2(1.43, 1.04)));
}

// v turned by a small angle whose (cos, sin) is cs, x towards y.
vec2 turned(vec2 v, vec2 cs)
{
    return vec2(cs.x * v.x - cs.y * v.y, cs.y * v.x + cs.x * v.y);
}

// (cos, sin) of an angle under 0.4 radians, to a few parts in ten thousand.
vec2 smallTurn(float a)
{
    float a2 = a * a;
    return vec2(1.0 - a2 * (0.5 - a2 / 24.0), a * (1.0 - a2 / 6.0));
}

// The turn cs (under half a turn) taken only `share` (0..1) of the way.
vec2 partTurn(vec2 cs, float share)
{
    return normalize(vec2(1.0 + (cs.x - 1.0) * share, cs.y * share));
}

// Poses a person's vertex p with its normal n (model units). variety names
// the person (0..1), walked is how far along x it stands and unit the world
// units per model unit. What a person does not wear folds away to a point in
// the head, where it draws nothing. Straight-line code: a software renderer
// runs every branch of a vertex shader for every vertex anyway, so the pose
// comes from tables and every vertex takes every turn, most of them none.
void posePerson(inout vec3 p, inout vec3 n, float part, float variety, float walked, float unit)
{
    // Short, curly, long, a ponytail, or bald; a sun hat on some.
    float style = floor(fract(variety * 62.0) * 5.0);
    bool hat = fract(variety * 21.0) < 0.35;
    vec4 pose = POSE_TABLE[int(fract(variety * 63.0) * float(POSES))];
    float tall = min(mix(0.9, 1.0, fract(variety * 29.0)), pose.w);
    float slim = mix(0.8, 1.0, fract(variety * 37.0));
    // About half of them face the other way, -z; they walk their own way
    // backwards, so their feet still keep still on the sand.
    float facing = fract(variety * 45.0) < 0.5 ? -1.0 : 1.0;
    walked *= facing;
    bool onHead = part == HEAD || part >= SHORT_HAIR;
    bool worn = part < SHORT_HAIR || (part == SHORT_HAIR && (style < 2.0 || style == 3.0)) ||
                (part == LONG_HAIR && style == 2.0) || (part == PONYTAIL && style == 3.0) || (part == HAT && hat);
    vec3 swell = part == SHORT_HAIR && style == 1.0 && !hat ? CURLS : vec3(1.0);
    p = HAIR_CENTRE + (p - HAIR_CENTRE) * (worn ? swell : vec3(0.0));
    n /= swell;

    // The walk, from where the person stands: the left foot swings out over
    // the first half of a step and the right one after it over the second,
    // so the feet stay put on the sand whichever way the person goes.
    float phase = fract(walked / STRIDE);
    float stride = STRIDE / unit;
    float outLeft = (smoothstep(0.0, 0.5, phase) - phase) * stride;
    float outRight = (smoothstep(0.5, 1.0, phase) - phase) * stride;
    bool leftSide = part == LEFT_LEG || part == LEFT_ARM;
    float side = leftSide ? 1.0 : -1.0;
    vec3 mirror = vec3(side, 1.0, 1.0);
    bool leg = part == LEFT_LEG || part == RIGHT_LEG;
    bool arm = part == LEFT_ARM || part == RIGHT_ARM;
    int armPose = int(leftSide ? pose.x : pose.y);
    vec2 motion = ARM_MOTIONS[armPose];
    // Parabolas for the sines: one hump per half step.
    float halfStep = fract(2.0 * phase);
    float arc = 4.0 * halfStep * (1.0 - halfStep);

    // The forearm bends at the elbow first, in the arm's resting place.
    vec3 elbow = LEFT_ELBOW * mirror;
    float forearm = arm ? clamp(dot(p - elbow, UPPER_ARM * mirror) / ELBOW_RING + 0.5, 0.0, 1.0) : 0.0;
    vec4 bend = ELBOW_TURNS[armPose];
    vec2 bendOut = partTurn(turned(bend.xy, smallTurn(motion.y * arc)) * vec2(1.0, side), forearm);
    vec2 bendForward = partTurn(bend.zw, forearm);
    vec3 q = p - elbow;
    q.xy = turned(q.xy, bendOut);
    q.zy = turned(q.zy, bendForward);
    p = elbow + q;
    n.xy = turned(n.xy, bendOut);
    n.zy = turned(n.zy, bendForward);

    // A leg tilts about its hip to put its foot where the step has it and
    // lifts while it swings; an arm takes its pose at the shoulder, and a
    // hanging one swings forward and back, opposite the other, and opens a
    // little as the legs do.
    float footOut = leftSide ? outLeft : outRight;
    float swinging = leftSide ? phase * 2.0 : phase * 2.0 - 1.0;
    float roll = leg ? footOut / LEFT_HIP.y : (arm ? motion.x * side * ARM_OUT * (outLeft - outRight) / stride : 0.0);
    float pitch = arm ? motion.x * side * ARM_SWING * (phase < 0.5 ? arc : -arc) : 0.0;
    float lift = leg && swinging >= 0.0 && swinging < 1.0 ? FOOT_LIFT * arc : 0.0;
    vec4 shoulder = arm ? SHOULDER_TURNS[armPose] : vec4(1.0, 0.0, 1.0, 0.0);
    vec3 joint = (leg ? LEFT_HIP : LEFT_SHOULDER) * mirror;
    vec2 rolled = turned(shoulder.xy * vec2(1.0, side), smallTurn(roll));
    vec2 pitched = turned(shoulder.zw, smallTurn(pitch));
    q = p - joint;
    q.xy = turned(q.xy, rolled);
    q.zy = turned(q.zy, pitched);
    p = joint + q + vec3(0.0, lift, 0.0);
    n.xy = turned(n.xy, rolled);
    n.zy = turned(n.zy, pitched);

    // The head tips back to look up, the neck bending under it.
    float lookUp = max(pose.z, LOOK_AROUND * fract(variety * 53.0));
    vec2 nodded = smallTurn(onHead ? lookUp * (part == HEAD ? smoothstep(NECK_LOW, NECK_TOP, p.y) : 1.0) : 0.0);
    q = p - NOD_CENTRE;
    q.zy = turned(q.zy, nodded);
    p = NOD_CENTRE + q;
    n.zy = turned(n.zy, nodded);
    p.xz *= facing;
    n.xz *= facing;

    // Build: shorter and slimmer than the model, never larger, so what is
    // drawn stays inside the box the game hits. The head keeps its size.
    vec3 scale = onHead ? vec3(1.0) : vec3(slim, tall, mix(slim, 1.0, 0.5));
    p *= scale;
    n /= scale;
    // The body sinks as far as the foot on the ground tilts its leg.
    float standing = (phase < 0.5 ? outRight : outLeft) / LEFT_HIP.y;
    p.y += (onHead ? NECK * (tall - 1.0) : 0.0) - LEFT_HIP.y * 0.5 * standing * standing * tall;
}

// Black, dark brown, brown, blonde, auburn, grey (times the pale hair texture).
const vec3 HAIR_COLOURS[6] = vec3[6](vec3(0.1, 0.085, 0.08), vec3(0.3, 0.18, 0.1), vec3(0.55, 0.36, 0.2),
                                     vec3(1.0, 0.85, 0.52), vec3(0.7, 0.3, 0.12), vec3(0.85, 0.84, 0.8));
// Straw, white, red, navy (times the straw texture).
const vec3 HAT_COLOURS[4] = vec3[4](vec3(1.0), vec3(1.08, 1.12, 1.3), vec3(0.95, 0.35, 0.3), vec3(0.3, 0.38, 0.6));

void main()
{
    float variety = personVariety(model);
    bool person = texCoords.x >= PERSON_BAND;
    vec3 p = position;
    vec3 modelNormal = normal;
    if (person) posePerson(p, modelNormal, floor(texCoords.y * 0.5), variety, model[3].x, length(model[0].xyz));

    vec4 worldPos = model * vec4(p, 1.0);
    vec3 n = normalize(mat3(model) * modelNormal);   // models are only scaled uniformly

    // Light-space depth grows along the third row of the light matrix,
    // so the way back to the light is the negated, normalised row.
    vec3 depthRow = vec3(lightSpaceMatrix[0][2], lightSpaceMatrix[1][2], lightSpaceMatrix[2][2]);
    vec3 toLight = -normalize(depthRow);
    float facing = clamp(dot(n, toLight), 0.0, 1.0);

    FragPos = worldPos.xyz;
    Normal = n;
    TexCoords = texCoords;
    FragPosLightSpace = lightSpaceMatrix * vec4(worldPos.xyz + n * (NORMAL_OFFSET * (1.0 - facing)), 1.0);
    // Only the reflection pass keeps what is above the water (clipPlane.y > 0).
    bool reflection = clipPlane.y > 0.5;
    EyePos = -transpose(mat3(view)) * view[3].xyz;
    vec3 playerEye = mirrorEye(view);   // meaningful in the reflection pass only
    if (reflection)
        EyePos = vec3(playerEye.x, 2.0 * WATER_LEVEL - playerEye.y, playerEye.z);   // the eye's mirror image
    ShadowDir = toLight;
    if (person) {
        // 31 spreads the thirteen shirts' hues at least 9 degrees apart.
        float shirtAngle = 6.2832 * fract(variety * 31.0);
        float shortsAngle = 6.2832 * fract(variety * 7.0);
        ShirtTurn = vec2(cos(shirtAngle), sin(shirtAngle));
        ShortsTurn = vec2(cos(shortsAngle), sin(shortsAngle));
        ShortsShade = mix(0.7, 1.15, fract(variety * 3.0));
        ShirtShade = mix(0.75, 1.2, fract(variety * 11.0));
        float tone = mix(0.45, 1.0, fract(variety * 13.0));
        SkinTone = vec3(tone, pow(tone, 1.15), pow(tone, 1.3));
        HairColour = HAIR_COLOURS[int(fract(variety * 28.0) * 6.0)];
        HatColour = HAT_COLOURS[int(fract(variety * 39.0) * 4.0)];
    } else {
        ShirtTurn = ShortsTurn = vec2(1.0, 0.0);
        ShortsShade = ShirtShade = 1.0;
        SkinTone = HairColour = HatColour = vec3(1.0);
    }

    // -view[1][2] is the y of the view direction.
    bool underOpaqueSea = clipPlane.w > OPEN_PASS_DISTANCE && view[1][2] > STRAIGHT_DOWN && EyePos.y > SEA_LEVEL;
    gl_ClipDistance[0] = underOpaqueSea ? worldPos.y - (SEA_LEVEL - HIDDEN_DEPTH) : dot(worldPos, clipPlane);
    gl_Position = reflection ? projection * vec4(mirrorViewPos(view, playerEye, worldPos.xyz), 1.0)
                             : projection * view * worldPos;
}
