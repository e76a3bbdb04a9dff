#version 150
// Places one camera-facing quad per particle inside the beamer's cell.

in vec4 in_position; // corner offset of the quad, already facing the camera
in vec2 in_texcords;

uniform mat4 pvm;                  // projection * camera
uniform mat4 wtm;                  // world translation * the beamer cell's place
uniform samplerBuffer InstanceData; // texel i: position and life of particle i

out vec2 sprite_coord;
out float life;

const float CELL_SCALE = 0.5;    // the effect's space spans two units, a cell one
const float SPRITE_SCALE = 0.45; // the quad is 0.4 cells wide before this

void main()
{
    vec4 particle = texelFetch(InstanceData, gl_InstanceID);
    life = clamp(particle.w, 0.0, 1.0);
    vec4 centre = wtm * vec4(particle.xyz * CELL_SCALE, 1.0);
    float size = SPRITE_SCALE * (0.35 + 0.65 * life);
    gl_Position = pvm * vec4(centre.xyz + in_position.xyz * size, 1.0);
    sprite_coord = in_texcords;
}
