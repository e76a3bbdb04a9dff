// The game's loop, and its pieces, so that the benchmark can run the very
// same start-up and frames for a fixed number of frames.
#pragma once

#include "app/hud.h"
#include "game/game.h"
#include "gl/shader_program.h"
#include "render/frame_damage.h"

#include <cstdio>
#include <memory>
#include <string>

class PadScript;
class ResourcePreload;
class TextRenderer;

// The window title shows the frame rate when the counter passes this.
constexpr int TITLE_INTERVAL = 50;

// Where start_run's time went, in seconds. The game itself never asks; the
// benchmark hands one in to see which part of start-up to work on.
struct StartupTimes {
    double world = 0.0;     // the level file and the lists of cells
    double shaders = 0.0;   // the Phong program
    double waiting = 0.0;   // for the reader thread, once the window is open
    double models = 0.0;    // uploading the models' meshes
    double textures = 0.0;  // uploading their images into textures
    double particles = 0.0; // the beamer effect's programs and buffers
    double text = 0.0;      // the text's programs, drawn once: in the first frame's time
    // On the reader thread, alongside the window and the above.
    double reading_models = 0.0; // importing the model files
    double reading_images = 0.0; // decoding the images and making mip levels
};

// What run keeps from its start-up to its end.
struct RunState {
    double frame_start = 0.0; // seconds since start-up
    double work_time = 0.0;   // the last frame's cost before its sleep
    double frame_time = 0.0;  // the last frame's length, sleep included
    int frame_counter = 0;
    char title_buffer[40] = {};
    ShaderProgram phong_program; // every model is drawn with it

    // The reader thread, kept until it has made the glyph atlas, and the
    // text drawn with it from then on; no text without a font.
    std::shared_ptr<ResourcePreload> preload;
    std::shared_ptr<TextRenderer> text;
    Hud hud;
    // When the window keeps each frame for the next (game.frames_kept):
    // what changed since, and the text the last frame drew.
    FrameDamage damage;
    HudFrame drawn_hud;
    // A recorded pad that stands in for the device, from the file that
    // TIRAK_PAD_SCRIPT names.
    std::shared_ptr<PadScript> pad_script;
    // One byte more for every frame shown, in the file TIRAK_FRAME_TRACE
    // names: a test waits for frames by its size, not by guessing them from
    // the frame rate.
    std::shared_ptr<std::FILE> frame_trace;

    // Left empty, start-up builds the settings' level. The benchmark names
    // any level file here; later levels come from the level number as ever.
    std::string level_file;
    // When set, start_run fills it in.
    StartupTimes* startup_times = nullptr;
};

// Makes the viewport and the projection follow the framebuffer's size in
// pixels. Does nothing while the size is unchanged, unless forced, or while
// the window is minimised and has no pixels.
void follow_framebuffer_size(Game& game, bool force = false);

// Loads the level and every resource, then plays until Escape or the window
// is closed. Throws FatalError when a resource failed to load or a level
// cannot be played, at start-up or later, and ConfigFile::file_not_found
// for a missing level file.
void run(Game& game);

// Builds the world and loads every resource. Throws what run throws.
void start_run(Game& game, RunState& state);
// One frame: pace, update, draw, swap. Returns false once Escape is down or
// the window was closed.
bool run_frame(Game& game, RunState& state);
// Releases what start_run loaded and closes the window.
void finish_run(RunState& state);
