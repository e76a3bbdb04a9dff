// tirak-make-data: makes the game's models, textures, sounds and music,
// and its application icon.
//
//   tirak-make-data DIRECTORY [ICON_DIRECTORY]
//
// writes DIRECTORY/obj/<model>.obj and .mtl for every model of the game's
// model table, DIRECTORY/tex/<level><texture> for every texture they name,
// level 0 and, where the table asks for them, levels 1 to 3, and
// DIRECTORY/sounds/<sound>.wav for every sound the game plays and
// DIRECTORY/music/<piece>.ogg for every piece of its music, and
// DIRECTORY/tex/icon.png, the icon the game gives its window. Given
// ICON_DIRECTORY, it also writes ICON_DIRECTORY/tirak-<size>.png, the icon
// at each size desktops ask for, painted from the same textures. The output
// is the same on every run; data/ and packaging/icons/ hold what it made,
// and a test checks that it still makes exactly that.
#include "icons.h"
#include "mastering.h"
#include "models.h"
#include "music.h"
#include "render/model_table.h"
#include "sounds.h"
#include "textures.h"
#include "wav_writer.h"

#include <exception>
#include <filesystem>
#include <future>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int LAST_PREPARED_LEVEL = 3;
// The window's icon: the size window switchers show, which the window
// system scales down for a task bar. Its name starts with no level number,
// so it is no texture's.
constexpr int WINDOW_ICON_SIZE = 64;
constexpr const char* WINDOW_ICON = "icon.png";

// The table's flag for each texture: a texture gets prepared levels when the
// model naming it has them. Models that share a texture must agree.
std::map<std::string, bool> prepared_levels_by_texture(const std::vector<Model>& models)
{
    if (models.size() != MODEL_TABLE.size())
        throw std::logic_error("the generator makes " + std::to_string(models.size()) +
                               " models, the model table lists " +
                               std::to_string(MODEL_TABLE.size()));
    std::map<std::string, bool> prepared;
    for (size_t i = 0; i < models.size(); ++i) {
        const std::string file = "obj/" + models[i].name + ".obj";
        if (file != MODEL_TABLE[i].file)
            throw std::logic_error("model " + std::to_string(i) + " is " + file +
                                   ", the model table says " + MODEL_TABLE[i].file);
        const auto [entry, added] =
            prepared.emplace(models[i].material.texture, MODEL_TABLE[i].has_mip_levels);
        if (!added && entry->second != MODEL_TABLE[i].has_mip_levels)
            throw std::logic_error(models[i].material.texture +
                                   " is shared by models with and without prepared mip levels");
    }
    return prepared;
}

void write_textures(const std::filesystem::path& directory,
                    const std::map<std::string, bool>& prepared, std::vector<Texture> textures)
{
    if (textures.size() != prepared.size())
        throw std::logic_error("the models name " + std::to_string(prepared.size()) +
                               " textures, the generator paints " +
                               std::to_string(textures.size()));
    for (Texture& texture : textures) {
        const auto flag = prepared.find(texture.name);
        if (flag == prepared.end())
            throw std::logic_error(texture.name + " is painted but no model names it");
        Image level = std::move(texture.image);
        const int last_level = flag->second ? LAST_PREPARED_LEVEL : 0;
        for (int number = 0; number <= last_level; ++number) {
            if (number > 0)
                level = half_size(level);
            save_png(level, (directory / (std::to_string(number) + texture.name)).string());
        }
    }
}

void write_icons(const std::filesystem::path& directory, const std::vector<Icon>& icons)
{
    for (const Icon& icon : icons) {
        const std::string name = "tirak-" + std::to_string(icon.size) + ".png";
        save_png(icon.image, (directory / name).string());
    }
}

void write_window_icon(const std::filesystem::path& directory, const std::vector<Icon>& icons)
{
    for (const Icon& icon : icons)
        if (icon.size == WINDOW_ICON_SIZE) {
            save_png(icon.image, (directory / WINDOW_ICON).string());
            return;
        }
    throw std::logic_error("no icon is painted at " + std::to_string(WINDOW_ICON_SIZE) + " pixels for the window");
}

void write_sounds(const std::filesystem::path& directory)
{
    for (const Sound& sound : make_sounds())
        save_wav(master(sound.samples, sound.peak_dbfs, sound.name), SAMPLE_RATE,
                 (directory / sound.name).string());
}

// Each piece takes seconds to make and encode, more than everything else
// together: they are made side by side with it, each on a thread of its own.
std::vector<std::future<void>> start_music(const std::filesystem::path& directory)
{
    std::vector<std::future<void>> pieces;
    for (const Piece& piece : music_pieces())
        pieces.push_back(std::async(std::launch::async, [piece, directory] {
            write_piece(piece, (directory / piece.name).string());
        }));
    return pieces;
}

} // namespace

std::vector<Texture> make_textures()
{
    std::vector<Texture> textures;
    textures.push_back({"skybox.png", paint_sky()});
    textures.push_back({"cube.png", paint_cube()});
    textures.push_back({"ship.png", paint_ship()});
    textures.push_back({"goal.png", paint_goal()});
    textures.push_back({"cone.png", paint_cone()});
    textures.push_back({"beamer.png", paint_beamer()});
    textures.push_back({"glow.png", paint_glow()});
    textures.push_back({"goal_crystal.png", paint_goal_crystal()});
    textures.push_back({"bounds.png", paint_bounds()});
    return textures;
}

// The knocks and ticks that come often sit lower than the rest, and the
// goal, which comes once a level, a little higher.
std::vector<Sound> make_sounds()
{
    std::vector<Sound> sounds;
    sounds.push_back({"launch.wav", make_launch(), -5.0});
    sounds.push_back({"stop.wav", make_stop(), -4.0});
    sounds.push_back({"beam.wav", make_beam(), -7.5});
    sounds.push_back({"goal.wav", make_goal(), -3.5});
    sounds.push_back({"restart.wav", make_restart(), -5.5});
    sounds.push_back({"undo.wav", make_undo(), -7.0});
    sounds.push_back({"hint.wav", make_hint(), -6.0});
    sounds.push_back({"no_way.wav", make_no_way(), -5.5});
    sounds.push_back({"select.wav", make_select(), -7.5});
    return sounds;
}

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: tirak-make-data DIRECTORY [ICON_DIRECTORY]" << std::endl;
        return 2;
    }
    try {
        const std::filesystem::path root(argv[1]);
        std::filesystem::create_directories(root / "obj");
        std::filesystem::create_directories(root / "tex");
        std::filesystem::create_directories(root / "sounds");
        std::filesystem::create_directories(root / "music");
        if (argc == 3)
            std::filesystem::create_directories(argv[2]);
        std::vector<std::future<void>> music = start_music(root / "music");

        const std::vector<Model> models = make_models();
        const std::map<std::string, bool> prepared = prepared_levels_by_texture(models);
        for (const Model& model : models)
            write_model((root / "obj").string(), model.name, model.mesh, model.material);
        std::vector<Texture> textures = make_textures();
        const std::vector<Icon> icons = paint_icons(textures);
        write_window_icon(root / "tex", icons);
        if (argc == 3)
            write_icons(argv[2], icons);
        write_textures(root / "tex", prepared, std::move(textures));
        write_sounds(root / "sounds");
        for (std::future<void>& piece : music)
            piece.get();
    } catch (const std::exception& error) {
        std::cerr << "tirak-make-data: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
