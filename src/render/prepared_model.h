// A model read and decoded on the processor, ready for its OpenGL upload:
// the imported scene and every image its materials name, with their mip
// levels. No OpenGL here, so that it can be made on another thread.
#pragma once

#include "render/image_file.h"
#include "render/model_file.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// Levels 1 to 3 of a texture may come from prepared files; the rest are
// made from level 0.
constexpr int LAST_PREPARED_LEVEL = 3;

struct PreparedTexture {
    std::string name; // as the material names it, below "tex/N"
    // The files read for it, from "tex/0" + name up to the last level the
    // model asks for, and what each held.
    std::vector<std::pair<std::string, ImageFile>> files;
    // Level 0's chain of smaller levels, made in linear light; empty for a
    // texture shown as stored.
    std::vector<MipLevel> made_levels;
    bool shown_as_stored = false;
    // Whether the levels hold linear light rather than sRGB. A software
    // renderer filters plain 8-bit texels in fixed point but decodes sRGB
    // ones to floating point first, which makes the blended walls
    // noticeably dearer to draw; so a texture whose colours all keep their
    // look in 8 linear bits is stored that way.
    bool stored_linear = false;
    // The OpenGL texture, once uploaded. Models that name the same image
    // share it, as they share this preparation.
    uint32_t texture = 0;
};

struct PreparedModel {
    std::string file;
    ImportedModel model;
    // Every diffuse texture any material names, each once, in name order.
    std::vector<std::shared_ptr<PreparedTexture>> textures;
};

// The textures prepared so far, by name and kind, so that each image file
// is decoded once however many models name it.
using TextureCache = std::map<std::string, std::shared_ptr<PreparedTexture>>;

// Imports the file; a model that cannot be used has no scene.
PreparedModel import_for_upload(const std::string& file);

// Reads and decodes every image the model's materials name, or takes it
// from the cache; with has_mip_levels levels 1 to 3 are read too.
void prepare_textures(PreparedModel& model, bool has_mip_levels, bool shown_as_stored, TextureCache& cache);

// Both, one after the other.
PreparedModel prepare_model(const std::string& file, bool has_mip_levels, bool shown_as_stored,
                            TextureCache& cache);
