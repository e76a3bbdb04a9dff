#version 150
// Phong lighting for the level's objects while "lightning" is 1; the sky and
// the walls are drawn unlit with it at 0.
//
// Textures are sRGB textures: sampling them gives linear light, and the
// framebuffer encodes the result back to sRGB.
//
// The alpha channel means two things. Unlit, it is opacity: the walls are
// blended with it. Lit, it marks self-lit texels: 1 takes the light, 0
// glows with its own colour whatever the light (engine exhausts, the
// goal's crystal, the accent strips on the cubes).

uniform sampler2D Texture0;
uniform int lightning;

in vec3 scene_position;
in vec3 scene_normal;
in vec2 texture_coordinates;
in vec3 eye_position;

out vec4 out_color;

// Directions point towards the light, in scene space. A warm key light from
// high above one corner, a cold weak fill from below the other, so that no
// side of a cube is flat black.
const vec3 KEY_DIRECTION = vec3(0.2696, 0.7704, 0.5778); // (0.35, 1.0, 0.75), unit length
const vec3 KEY_COLOUR = vec3(1.0, 0.94, 0.84);
const vec3 FILL_DIRECTION = vec3(-0.6376, -0.3188, -0.7013); // (-1.0, -0.5, -1.1), unit length
const vec3 FILL_COLOUR = vec3(0.16, 0.22, 0.36);
const vec3 AMBIENT_COLOUR = vec3(0.055, 0.06, 0.085);
// Silhouettes catch a little of the sky's blue, which keeps dark objects
// readable against the black of space.
const vec3 RIM_COLOUR = vec3(0.10, 0.16, 0.28);
const float RIM_SHARPNESS = 3.0;
const float SPECULAR_STRENGTH = 0.45;
const float SHININESS = 28.0;
// Self-lit texels are a little brighter than a fully lit white surface.
const float GLOW_GAIN = 1.35;

void main()
{
    vec4 texel = texture(Texture0, texture_coordinates);
    vec3 albedo = texel.rgb;
    if (lightning != 1) {
        out_color = vec4(albedo, texel.a);
        return;
    }

    vec3 to_eye = normalize(eye_position - scene_position);
    // A model without normals gets the attribute's default of zero; light it
    // as if it faced the viewer rather than divide by zero.
    vec3 normal = dot(scene_normal, scene_normal) > 1e-12 ? normalize(scene_normal) : to_eye;

    float key = max(dot(normal, KEY_DIRECTION), 0.0);
    float fill = max(dot(normal, FILL_DIRECTION), 0.0);
    vec3 reflected = reflect(-KEY_DIRECTION, normal);
    float specular = key > 0.0 ? pow(max(dot(reflected, to_eye), 0.0), SHININESS) : 0.0;
    float rim = pow(1.0 - max(dot(normal, to_eye), 0.0), RIM_SHARPNESS);

    vec3 lit = albedo * (AMBIENT_COLOUR + KEY_COLOUR * key + FILL_COLOUR * fill)
             + KEY_COLOUR * SPECULAR_STRENGTH * specular + RIM_COLOUR * rim;
    vec3 glow = albedo * GLOW_GAIN;
    out_color = vec4(mix(glow, lit, texel.a), 1.0);
}
