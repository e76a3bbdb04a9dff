#include "app/main_loop.h"

#include "app/controls.h"
#include "app/editor_controls.h"
#include "app/game_sound.h"
#include "app/hud_drawing.h"
#include "app/menu_controls.h"
#include "app/pad_script.h"
#include "app/progress_keeper.h"
#include "game/fatal_error.h"
#include "game/player_lines.h"
#include "particles/particle_system.h"
#include "platform/window.h"
#include "render/mesh_upload.h"
#include "render/model_loader.h"
#include "render/model_table.h"
#include "render/phong_program.h"
#include "render/prepared_model.h"
#include "app/resource_preload.h"
#include "render/scene_renderer.h"
#include "text/text_renderer.h"
#include "render/unlit_program.h"
#include "world/assist.h"
#include "world/level_loader.h"
#include "world/update_world.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <GL/glew.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <iostream>

namespace {

// Adds the time since its last lap to one figure of a start-up record; with
// no record it only keeps out of the way.
class StartupLaps {
public:
    explicit StartupLaps(StartupTimes* times) : times_(times) {}

    void lap(double StartupTimes::*figure)
    {
        if (times_ == nullptr)
            return;
        const auto now = std::chrono::steady_clock::now();
        times_->*figure += std::chrono::duration<double>(now - last_).count();
        last_ = now;
    }

private:
    StartupTimes* times_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

} // namespace

void run(Game& game)
{
    RunState state;
    start_run(game, state);
    while (run_frame(game, state)) {
    }
    // Escape or a closed window: the last second of edits is kept too.
    keep_unsaved_edits_in_time(game, platform::get_time(), true);
    finish_run(state);
}

void start_run(Game& game, RunState& state)
{
    StartupLaps laps(state.startup_times);

    // The level comes before every other resource: a level that cannot be
    // played ends the game before anything is loaded for it. The game cycles
    // through the level files it finds now.
    game.level_file_count = count_level_files(game.level_set);
    load_progress(game);
    if (state.level_file.empty())
        build_world(game);
    else
        build_world_from_file(game, state.level_file);
    work_out_par(game);
    laps.lap(&StartupTimes::world);
    if (const char* trace = std::getenv("TIRAK_FRAME_TRACE"); trace != nullptr) {
        if (std::FILE* file = std::fopen(trace, "ab"))
            state.frame_trace.reset(file, std::fclose);
        else
            std::cerr << trace << ": cannot be opened for the frame trace." << std::endl;
    }
    if (const char* script = std::getenv("TIRAK_PAD_SCRIPT"); script != nullptr) {
        Result<PadScript> read = PadScript::read(script);
        if (read)
            state.pad_script = std::make_shared<PadScript>(std::move(read.value()));
        else
            report_to_player(game, read.problem() + "; the pad is read from the device.");
    }

    // Rendering resources, each needing the one before: vertex arrays hold
    // the meshes, the meshes feed the Phong program's attributes, and a
    // mesh's texture must be loaded before its record can name it.
    load_vertex_array_functions(game);
    load_phong_program(state.phong_program);
    laps.lap(&StartupTimes::shaders);
    // The models and images were read while the window opened; without a
    // reader (a game that skipped initialize) they are read here.
    std::shared_ptr<ResourcePreload> preload = std::move(game.preload);
    TextureCache textures_read_here;
    double texture_seconds = 0.0;
    for (int index = 0; index < MODEL_COUNT; ++index) {
        const ModelFile& entry = MODEL_TABLE[static_cast<size_t>(index)];
        PreparedModel model = preload ? preload->take(index)
                                      : prepare_model(entry.file, entry.has_mip_levels, entry.shown_as_stored,
                                                      textures_read_here);
        laps.lap(&StartupTimes::waiting);
        try {
            load_model(game, state.phong_program, model, &texture_seconds);
        } catch (const FatalError&) {
            // The program is no use without the models: it goes at once.
            destroy_shader_program(state.phong_program);
            throw;
        }
        laps.lap(&StartupTimes::models);
    }
    if (state.startup_times) {
        // The models' laps hold their textures too; keep the two apart.
        state.startup_times->models -= texture_seconds;
        state.startup_times->textures += texture_seconds;
        if (preload) {
            state.startup_times->reading_models += preload->model_seconds();
            state.startup_times->reading_images += preload->image_seconds();
        }
    }
    // The decoded images go with the reader; it stays for the glyph atlas
    // and the sounds, which it makes last, while the first frames are drawn.
    state.preload = std::move(preload);

    // The beamer effect draws with the particle model's texture.
    game.particles = std::make_shared<ParticleSystem>(game.mesh_records[MODEL_PARTICLE].texture);
    laps.lap(&StartupTimes::particles);
    game.uniforms = find_uniform_locations(state.phong_program.program);
    game.unlit = build_unlit_program(state.phong_program.program);
    laps.lap(&StartupTimes::shaders);

    state.frame_start = platform::get_time();
    // After the frame's start: the driver makes its code for the text in
    // what the first frame would otherwise sleep, and it waits for no atlas.
    state.text = std::make_shared<TextRenderer>();
    laps.lap(&StartupTimes::text);
    // The first frame starts at rest, with the marker along the heading.
    ship_flying = false;
    update_heading_marker();
    state.frame_counter = 0;
}

void follow_framebuffer_size(Game& game, bool force)
{
    // The window may be resized at any moment, well before its event comes,
    // and the driver reads the window's size at the frame's first drawing:
    // here.
    platform::follow_window_size();
    int width = 0;
    int height = 0;
    platform::get_framebuffer_size(&width, &height);
    if (width <= 0 || height <= 0 || (!force && width == game.width && height == game.height))
        return;
    game.width = width;
    game.height = height;
    glViewport(0, 0, width, height);
}

// The glyph atlas, once the reader has made it.
void take_glyph_atlas(RunState& state)
{
    if (!state.text || state.text->ready() || !state.preload)
        return;
    if (std::optional<GlyphAtlasResult> atlas = state.preload->take_glyph_atlas_if_made()) {
        if (atlas->ok())
            state.text->take_atlas(std::move(atlas->value()));
        else
            std::cerr << atlas->problem() << std::endl;
    }
}

// The words on screen: the HUD follows every frame's events, and is drawn
// once there is a text renderer. With the text off, F1's panel and the menu
// still show when asked: the menu is where the text comes back on.
HudFrame text_to_show(Game& game, RunState& state)
{
    if (!game.text_shown && !game.help_shown && !menu_open(game))
        return {};
    take_glyph_atlas(state);
    const double now = platform::get_time();
    state.hud.update(game, now);
    if (!state.text || !state.text->ready())
        return {};
    const TextRenderer& text = *state.text;
    const float width = static_cast<float>(game.width);
    const float height = static_cast<float>(game.height);
    const TextWidth measure = [&](const std::string& line, float line_height) {
        return text.measure(line, line_height * height) / width;
    };
    return state.hud.frame(game, now, measure);
}

// The parts of the window this frame draws: all of it, unless the window
// keeps the last frame, when only what changed is.
std::vector<ScreenRect> parts_to_draw(const Game& game, RunState& state, const HudFrame& hud)
{
    if (!game.frames_kept)
        return {whole_window(game.width, game.height)};
    if (!platform::last_frame_kept())
        state.damage.forget();
    // Until the text can be drawn there is none, before or now.
    std::vector<ScreenRect> text_changed;
    if (state.text && state.text->ready())
        text_changed = hud_changes(*state.text, state.drawn_hud, hud, game.width, game.height);
    state.drawn_hud = hud;
    return state.damage.next(game, text_changed);
}

// The scene and the text, into each part in turn, each cut to its own.
void draw_frame(Game& game, const RunState& state, const HudFrame& hud, const std::vector<ScreenRect>& parts)
{
    const bool whole = parts.size() == 1 && parts.front() == whole_window(game.width, game.height);
    if (parts.size() != 1)
        step_clouds_ahead(game);
    for (const ScreenRect& part : parts) {
        if (!whole) {
            glEnable(GL_SCISSOR_TEST);
            glScissor(part.left, part.bottom, part.right - part.left, part.top - part.bottom);
        }
        // The stencil is cleared with the depth although nothing reads it:
        // they share one buffer, and clearing the depth alone makes a
        // software renderer keep every pixel's stencil bits, word by word.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        if (parts.size() == 1)
            render_scene(state.phong_program, game, part);
        else
            render_scene_pass(state.phong_program, game, part);
        if (!hud.lines.empty() || !hud.panels.empty())
            draw_hud(*state.text, hud, game.width, game.height);
    }
    if (!whole)
        glDisable(GL_SCISSOR_TEST);
}

bool run_frame(Game& game, RunState& state)
{
    // Sleep away what is left of the period, then measure the whole frame:
    // the world moves by the time that really passed.
    state.work_time = platform::get_time() - state.frame_start;
    platform::sleep(FRAME_PERIOD - state.work_time);
    state.frame_time = platform::get_time() - state.frame_start;
    state.frame_start = platform::get_time();

    state.frame_counter += 1;
    if (state.frame_counter > TITLE_INTERVAL) {
        std::snprintf(state.title_buffer, sizeof state.title_buffer, "fps: %.0f, dt: %f",
                      1.0 / state.frame_time, state.work_time);
        platform::set_window_title(state.title_buffer);
        state.frame_counter = 0;
    }

    follow_framebuffer_size(game);

    // Update, then draw: the scene shows the world as this frame left it.
    update_world(game, state.frame_time);
    follow_play_test(game);
    // The sound first: nothing that takes time comes between an event and
    // what the player hears of it.
    if (game.sound)
        game.sound->play_frame(game);
    keep_progress(game);
    // After the progress: the goal that led here was a real solve.
    follow_unplayable_level(game);
    keep_unsaved_edits_in_time(game, state.frame_start);

    const HudFrame hud = text_to_show(game, state);
    const std::vector<ScreenRect> parts = parts_to_draw(game, state, hud);
    draw_frame(game, state, hud, parts);
    // The reader goes once it has made all it was given, and that is taken:
    // an atlas made since the text looked for it goes with it otherwise.
    if (state.preload && state.preload->finished()) {
        take_glyph_atlas(state);
        state.preload.reset();
    }

    // Every listener has heard them. What the keys do while the next swap
    // handles them, and what start-up did before the first frame, is
    // heard in the frame after.
    game.events.clear();
    game.said.clear();
    std::vector<platform::WindowArea> shown;
    for (const ScreenRect& part : parts)
        shown.push_back({part.left, part.bottom, part.right - part.left, part.top - part.bottom});
    platform::swap_buffers(shown);
    if (state.frame_trace) {
        std::fputc('.', state.frame_trace.get());
        std::fflush(state.frame_trace.get());
    }
    on_pad(game, state.pad_script ? state.pad_script->next() : platform::get_pad_state(), state.frame_time);
    if (platform::get_key(platform::KEY_ESC) == platform::PRESS || game.quit_requested)
        return false;
    return platform::get_window_param(platform::OPENED) != 0;
}

void finish_run(RunState& state)
{
    // The program is deleted while its context is still current; the other
    // OpenGL objects simply end with the context.
    destroy_shader_program(state.phong_program);
    platform::terminate();
}
