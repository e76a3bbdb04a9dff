// Loading the images a model's materials name into OpenGL textures.
#pragma once

struct aiScene;
class Game;

// Creates one texture for every diffuse texture the scene's materials name
// and records it in game.texture_map under that name. Level 0 is read from
// "tex/0" + name; with has_mip_levels, levels 1 to 3 are read from "tex/1" +
// name to "tex/3" + name and replace what OpenGL derived from level 0. Every
// image file gets a size line on standard output, and one that cannot be
// read a second line; loading goes on either way. Textures are sRGB
// textures with a full chain of mip levels, unless shown_as_stored: then
// they keep their bytes as stored and have level 0 only.
void load_textures(const aiScene& scene, Game& game, bool has_mip_levels, bool shown_as_stored = false);
