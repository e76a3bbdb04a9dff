// Uploading a model's prepared images into OpenGL textures.
#pragma once

#include <memory>
#include <vector>

class Game;
struct PreparedTexture;

// Makes each prepared texture an OpenGL texture, unless an earlier model
// already did, and records it in game.texture_map under its name. Every
// image file gets a size line on standard output, and one that could not be
// read or cannot be a texture a second line, with a third giving the reason
// when there is one; loading goes on either way. A prepared level 1 to 3
// replaces the level made from level 0 when it is level 0's size halved
// that many times. Textures are sRGB textures with a full chain of mip
// levels, unless shown as stored: then they keep their bytes as stored and
// have level 0 only.
void load_textures(const std::vector<std::shared_ptr<PreparedTexture>>& textures, Game& game);
