#version 150
// Hands each particle to the geometry stage, which moves it.

in vec4 in_position; // xyz in the effect's own space (0..2 on each axis), w = life left
in vec4 in_velocity; // xyz per step, w = how often the particle was reborn

out vec4 vs_position;
out vec4 vs_velocity;

void main()
{
    vs_position = in_position;
    vs_velocity = in_velocity;
}
