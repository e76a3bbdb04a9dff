#include "render/prepared_model.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <set>

namespace {

const std::string TEXTURE_DIRECTORY = "tex/";

std::set<std::string> diffuse_texture_names(const aiScene& scene)
{
    std::set<std::string> names;
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        aiString path;
        for (unsigned index = 0; aiGetMaterialTexture(scene.mMaterials[m], aiTextureType_DIFFUSE,
                                                      index, &path) == AI_SUCCESS;
             ++index)
            names.insert(path.C_Str());
    }
    return names;
}

void store_linear_if_it_keeps_the_look(PreparedTexture& texture)
{
    std::vector<MipLevel*> levels;
    for (auto& [file_name, image] : texture.files)
        if (image)
            levels.push_back(&image.value());
    for (MipLevel& level : texture.made_levels)
        levels.push_back(&level);
    for (const MipLevel* level : levels)
        if (!keeps_look_in_linear_bytes(*level))
            return;
    for (MipLevel* level : levels)
        to_linear_bytes(*level);
    texture.stored_linear = true;
}

std::shared_ptr<PreparedTexture> prepare_texture(const std::string& name, bool has_mip_levels,
                                                 bool shown_as_stored)
{
    auto texture = std::make_shared<PreparedTexture>();
    texture->name = name;
    texture->shown_as_stored = shown_as_stored;
    const int last_level = has_mip_levels ? LAST_PREPARED_LEVEL : 0;
    for (int level = 0; level <= last_level; ++level) {
        const std::string file = TEXTURE_DIRECTORY + std::to_string(level) + name;
        texture->files.emplace_back(file, read_image_file(file, MAX_IMAGE_SIDE));
    }
    const MipLevel* above = &pixels_of(texture->files.front().second);
    while (!shown_as_stored && above->width > 0 && (above->width > 1 || above->height > 1)) {
        texture->made_levels.push_back(half_level(*above));
        above = &texture->made_levels.back();
    }
    if (!shown_as_stored)
        store_linear_if_it_keeps_the_look(*texture);
    return texture;
}

} // namespace

PreparedModel import_for_upload(const std::string& file)
{
    return PreparedModel{file, import_model(file), {}};
}

void prepare_textures(PreparedModel& model, bool has_mip_levels, bool shown_as_stored, TextureCache& cache)
{
    if (model.model.scene == nullptr)
        return;
    for (const std::string& name : diffuse_texture_names(*model.model.scene)) {
        const std::string key = name + (has_mip_levels ? "|levels" : "") + (shown_as_stored ? "|stored" : "");
        std::shared_ptr<PreparedTexture>& texture = cache[key];
        if (texture == nullptr)
            texture = prepare_texture(name, has_mip_levels, shown_as_stored);
        model.textures.push_back(texture);
    }
}

PreparedModel prepare_model(const std::string& file, bool has_mip_levels, bool shown_as_stored,
                            TextureCache& cache)
{
    PreparedModel model = import_for_upload(file);
    prepare_textures(model, has_mip_levels, shown_as_stored, cache);
    return model;
}
