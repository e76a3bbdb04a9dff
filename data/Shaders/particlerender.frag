#version 150
// A soft glow that cools from white-cyan to violet as the particle ages.

in vec2 sprite_coord;
in float life;

uniform sampler2D Texture0; // the glow sprite, an sRGB texture: sampled as linear light

out vec4 out_color;

const vec3 YOUNG = vec3(0.60, 0.95, 1.00);
const vec3 OLD = vec3(0.45, 0.20, 1.00);
const float BRIGHTNESS = 1.6;

void main()
{
    vec4 sprite = texture(Texture0, sprite_coord);
    vec3 glow = sprite.rgb * mix(OLD, YOUNG, life) * BRIGHTNESS;
    float alpha = sprite.a * smoothstep(0.0, 0.3, life);
    out_color = vec4(glow, alpha);
}
