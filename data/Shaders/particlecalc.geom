#version 150
// One simulation step of the beamer's vortex. Particles swirl around the
// vertical axis through the centre of their space, rise in a tapering funnel,
// fade, and are born again on a ring near the floor when they die or drift
// out of it.

layout(points) in;
layout(points, max_vertices = 2) out;

in vec4 vs_position[];
in vec4 vs_velocity[];

out vec4 gs_out_Position;
out vec4 gs_out_Velocity;

const vec3 CENTRE = vec3(1.0);      // middle of the effect's space
const float INSIDE_MIN = 0.02;      // particles leaving this box are reborn
const float INSIDE_MAX = 1.98;
const float TURN = 0.05;            // radians a step around the axis (about 3 a second)
const float RISE = 0.008;           // upward speed per step
const float NARROW = 0.002;         // share of the radius lost a step: the vortex tapers
const float RESPONSE = 0.06;        // how quickly a particle's own drift gives way to the rise
const float LIFE_STEP = 1.0 / 240.0; // a full life lasts four seconds at 60 steps a second

float hash(float n)
{
    return fract(sin(n) * 43758.5453);
}

void main()
{
    vec3 position = vs_position[0].xyz;
    float life = vs_position[0].w;
    vec3 velocity = vs_velocity[0].xyz;
    float generation = vs_velocity[0].w;
    float id = float(gl_PrimitiveIDIn);

    // Every particle starts with a full life; spread their first deaths so
    // that the cloud never dies and reappears all at once.
    if (generation == 0.0) {
        life = hash(id * 1.37 + 0.5);
        generation = 1.0;
    }

    // The turn about the axis is exact, so the vortex keeps its shape; each
    // particle turns at its own pace, so the cloud shears into streaks. The
    // velocity is the particle's own drift: its start values die away and
    // the rise takes over.
    float turn = TURN * (0.75 + 0.5 * hash(id * 0.731));
    vec2 from_axis = position.xz - CENTRE.xz;
    from_axis = (1.0 - NARROW) * vec2(cos(turn) * from_axis.x - sin(turn) * from_axis.y,
                                      sin(turn) * from_axis.x + cos(turn) * from_axis.y);
    velocity = mix(velocity, vec3(0.0, RISE, 0.0), RESPONSE);
    position = vec3(CENTRE.x + from_axis.x, position.y, CENTRE.z + from_axis.y) + velocity;
    life -= LIFE_STEP;

    bool outside = any(lessThan(position, vec3(INSIDE_MIN))) ||
                   any(greaterThan(position, vec3(INSIDE_MAX)));
    if (life <= 0.0 || outside) {
        float seed = id * 12.9898 + generation * 78.233;
        float angle = 6.2831853 * hash(seed);
        float radius = 0.45 + 0.4 * hash(seed + 1.0);
        vec3 ring = vec3(cos(angle), 0.0, sin(angle));
        position = CENTRE + radius * ring + vec3(0.0, -0.85 + 0.2 * hash(seed + 2.0), 0.0);
        velocity = vec3(0.0, 0.004 + 0.004 * hash(seed + 3.0), 0.0);
        life = 0.7 + 0.3 * hash(seed + 4.0);
        generation += 1.0;
    }

    gs_out_Position = vec4(position, life);
    gs_out_Velocity = vec4(velocity, generation);
    EmitVertex();
    EndPrimitive();
}
