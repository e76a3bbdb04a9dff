#include "render/model_loader.h"

#include "game/fatal_error.h"
#include "game/game.h"
#include "render/mesh_upload.h"
#include "render/prepared_model.h"
#include "render/texture_loader.h"

#include <chrono>
#include <iostream>

void load_model(Game& game, const ShaderProgram& program, PreparedModel& model, double* texture_seconds)
{
    if (model.model.scene == nullptr) {
        if (!model.model.importer_said.empty())
            std::cout << model.model.importer_said << std::endl;
        throw FatalError{model.model.problem};
    }
    const auto textures_begin = std::chrono::steady_clock::now();
    load_textures(model.textures, game);
    const std::chrono::duration<double> texture_time = std::chrono::steady_clock::now() - textures_begin;
    if (texture_seconds != nullptr)
        *texture_seconds += texture_time.count();
    upload_meshes(game, program, *model.model.scene);
}

void load_model(Game& game, const ShaderProgram& program, const std::string& file, bool has_mip_levels,
                bool shown_as_stored)
{
    TextureCache cache;
    PreparedModel model = prepare_model(file, has_mip_levels, shown_as_stored, cache);
    load_model(game, program, model);
}
