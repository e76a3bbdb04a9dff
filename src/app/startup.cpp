#include "app/startup.h"
#include "app/controls.h"
#include "app/game_sound.h"
#include "app/main_loop.h"
#include "app/player_input.h"
#include "game/fatal_error.h"
#include "game/game.h"
#include "game/player_lines.h"
#include "language/language.h"
#include "config/config_file.h"
#include "config/file_text.h"
#include "platform/window.h"
#include "render/gl_functions.h"
#include "app/resource_preload.h"
#include "app/window_icon.h"

#include <GL/glew.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

// The OpenGL context the game asks for: 3.2, with the old fixed-function
// calls still allowed.
constexpr int GL_MAJOR = 3;
constexpr int GL_MINOR = 2;
constexpr int DEPTH_BITS = 24;
constexpr int STENCIL_BITS = 8;

constexpr int32_t DEFAULT_VOLUME = 80;
constexpr int32_t DEFAULT_MUSIC_VOLUME = 60; // under the sounds, which stay clear over it
constexpr int32_t MAX_VOLUME = 100;

// A number that is no whole number in its range is said, not guessed at:
// read as a number, "volume = loud" would be silence.
int32_t read_bounded(Game& game, const ConfigFile& settings, const char* key, int32_t fallback, int32_t least,
                     int32_t most)
{
    const std::optional<std::string> value = settings.find_value(key);
    if (!value)
        return fallback;
    if (const std::optional<int32_t> number = whole_number(*value); number && *number >= least && *number <= most)
        return *number;
    report_words(game, "{file}: {key} = {value} is not a whole number from {least} to {most}; it is {fallback}.",
                 {{"file", SETTINGS_FILE},
                  {"key", key},
                  {"value", *value},
                  {"least", std::to_string(least)},
                  {"most", std::to_string(most)},
                  {"fallback", std::to_string(fallback)}});
    return fallback;
}

TextSize read_text_size(Game& game, const ConfigFile& settings)
{
    const std::optional<std::string> value = settings.find_value("text_size");
    if (!value)
        return TextSize::MEDIUM;
    if (const std::optional<TextSize> size = text_size_named(*value))
        return *size;
    report_words(game, "{file}: text_size = {value} is not small, medium or large; it is medium.",
                 {{"file", SETTINGS_FILE}, {"value", *value}});
    return TextSize::MEDIUM;
}

LevelSet read_level_set(Game& game, const ConfigFile& settings)
{
    const std::optional<std::string> value = settings.find_value("level_set");
    if (!value || *value == SHIPPED_LEVELS)
        return LevelSet::SHIPPED;
    if (*value == OWN_LEVELS)
        return LevelSet::OWN;
    report_words(game, "{file}: level_set = {value} is not {shipped} or {own}; it is {shipped}.",
                 {{"file", SETTINGS_FILE}, {"value", *value}, {"shipped", SHIPPED_LEVELS}, {"own", OWN_LEVELS}});
    return LevelSet::SHIPPED;
}

// "width = 40000", or for a side the 4:3 rule filled in, "height left out (30000 at 4:3)".
std::string side_said(const char* key, int from_settings, int asked)
{
    if (from_settings > 0)
        return std::string(key) + " = " + std::to_string(from_settings);
    return std::string(key) + " left out (" + std::to_string(asked) + " at 4:3)";
}

// Shows the window that opened hidden, no larger than the driver draws: past
// its viewport the picture would not fill the window, and to the driver a
// window's colour and depth buffers are renderbuffers. Mesa's software
// renderer takes a larger window, but counts its buffers' bytes in 32 bits:
// at 32767 x 32767 the count wraps and the first frame writes past them.
void show_window_the_driver_draws(Game& game)
{
    GLint viewport[2] = {0, 0};
    GLint renderbuffer = 0;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    const int largest_width = std::min({viewport[0], renderbuffer, platform::LARGEST_WINDOW_SIDE});
    const int largest_height = std::min({viewport[1], renderbuffer, platform::LARGEST_WINDOW_SIDE});
    if (platform::show_window(largest_width, largest_height) != 1)
        return;
    int asked_width = 0;
    int asked_height = 0;
    int width = 0;
    int height = 0;
    platform::get_asked_window_size(&asked_width, &asked_height);
    platform::get_window_size(&width, &height);
    report_to_player(game, std::string(SETTINGS_FILE) + ": " + side_said("width", game.width, asked_width) + " and " +
                               side_said("height", game.height, asked_height) +
                               " are more than this display can draw, " + std::to_string(largest_width) + " x " +
                               std::to_string(largest_height) + "; the window is " + std::to_string(width) + " x " +
                               std::to_string(height) + ".");
}

// Gamepad mappings of the player's own, in the SDL format, beside the
// settings: added to the window library's for pads it does not know.
constexpr const char* GAMEPAD_MAPPINGS_FILE = "gamecontrollerdb.txt";
// SDL's whole collection, every pad it knows, is under a megabyte.
constexpr size_t MOST_MAPPING_BYTES = size_t{4} << 20;

void add_players_gamepad_mappings(Game& game)
{
    const std::string file_name = GAMEPAD_MAPPINGS_FILE;
    const Result<std::optional<std::string>> file =
        read_file_text(file_name, MOST_MAPPING_BYTES, "a gamepad mappings file");
    if (!file) {
        report_words(game, "{file}: {problem}; the built-in gamepad mappings are used.",
                     {{"file", file_name}, {"problem", file.problem()}});
        return;
    }
    if (!file.value())
        return;
    for (const int line : platform::add_gamepad_mappings(*file.value()))
        report_words(game, "{file}: line {line} is not a gamepad mapping; the other lines are used.",
                     {{"file", file_name}, {"line", std::to_string(line)}});
}

void report_gl_context()
{
    std::cout << "OpenGL Version: " << glGetString(GL_VERSION) << std::endl;

    GLint profile_mask = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile_mask);
    if (profile_mask == GL_CONTEXT_CORE_PROFILE_BIT)
        std::cout << "Having a core-profile" << std::endl;
    else
        std::cout << "Having a compatibility-profile" << std::endl;

    // A fixed-function call is an error only in a core context.
    std::cout << "Doing illegal operation (glTranslate) now..." << std::endl;
    glGetError();
    glTranslatef(1.0f, 0.0f, 0.0f);
    if (glGetError() != GL_NO_ERROR)
        std::cout << "Illegal operation caused an error message. :)" << std::endl;
    else
        std::cerr << "Illegal operation did NOT cause an error message. :(" << std::endl;
}

// Mesa's renderers that draw on the processor: every pixel a frame draws
// is the player's time and battery.
bool software_renderer()
{
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const std::string renderer = name != nullptr ? name : "";
    for (const char* software : {"llvmpipe", "softpipe", "swrast"})
        if (renderer.find(software) != std::string::npos)
            return true;
    return false;
}

} // namespace

int initialize(Game& game)
{
    // One heap for every thread, before the reader and the driver start
    // theirs. With an arena a thread, what the reader frees after decoding
    // stays in its own arena while the driver's threads and the game grow
    // theirs: 15 MiB more at the peak, for no speed the game can measure.
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 1);
#endif
    const ConfigFile settings(SETTINGS_FILE, "=", "#", "EndConfigFile");
    settings.read_int_into("width", game.width);
    settings.read_int_into("height", game.height);
    // First, so that every word from here on is in the player's language.
    choose_language(settings.find_value("language").value_or(""));
    game.level_set = read_level_set(game, settings);
    game.level_number = settings.read_int("level", 1);
    // Ours open one by one, from the start level on; the player's own are
    // all open.
    game.start_level = game.level_set == LevelSet::SHIPPED ? game.level_number : 1;
    game.text_shown = settings.read_bool("text", true);
    game.redraw_only_changes = settings.read_bool("redraw_only_changes", true);
    game.sound_on = settings.read_bool("sound", true);
    game.sound_volume = read_bounded(game, settings, "volume", DEFAULT_VOLUME, 0, MAX_VOLUME);
    game.music_on = settings.read_bool("music", true);
    game.music_volume = read_bounded(game, settings, "music_volume", DEFAULT_MUSIC_VOLUME, 0, MAX_VOLUME);
    game.mute_unfocused = settings.read_bool("mute_unfocused", true);
    game.options.text_size = read_text_size(game, settings);
    game.options.mouse_speed =
        read_bounded(game, settings, "mouse_speed", DEFAULT_MOUSE_SPEED, LEAST_MOUSE_SPEED, MOST_MOUSE_SPEED);
    game.options.mouse_inverted = settings.read_bool("mouse_invert", false);
    game.options.solver_view = settings.read_bool("solver_view", true);
    for (const std::string& problem : take_binding_settings(settings.lines(), SETTINGS_FILE))
        report_to_player(game, problem);
    // The files need no window: read them while it opens. The sound output
    // opens there too, last: no frame waits for it.
    ResourcePreload::Job sound_job;
    if (game.sound_on) {
        const char* trace = std::getenv("TIRAK_SOUND_TRACE");
        game.sound = std::make_shared<GameSound>(trace != nullptr ? trace : "");
        game.music_playing = game.music_on && game.music_volume > 0;
        sound_job = game.sound->loading_job(game.music_playing ? std::optional<size_t>(music_piece(game)) : std::nullopt);
    }
    // The glyph atlas is made with the text off too: F1 and the menu show.
    game.preload = std::make_shared<ResourcePreload>(std::move(sound_job));

    const Result<> initialized = platform::init();
    platform::open_window_hint(platform::OPENGL_VERSION_MAJOR, GL_MAJOR);
    platform::open_window_hint(platform::OPENGL_VERSION_MINOR, GL_MINOR);
    platform::open_window_hint(platform::OPENGL_PROFILE, platform::OPENGL_COMPAT_PROFILE);

    // The key is spelled with one l; it has been since the first release.
    const bool fullscreen = settings.read_bool("fulscreen", true);
    const int mode = fullscreen ? platform::FULLSCREEN : platform::WINDOW;
    const Result<> opened =
        initialized ? platform::open_window(game.width, game.height, 0, 0, 0, 0, DEPTH_BITS, STENCIL_BITS, mode)
                    : initialized;
    if (!opened) {
        std::cerr << "Failed to initialize OpenGL window." << std::endl;
        if (!opened.problem().empty())
            std::cerr << "The window system said: " << opened.problem() << std::endl;
        platform::terminate();
        return 1;
    }

    platform::set_window_title("TIRAK");
    give_window_its_icon();
    platform::set_key_callback(on_key);
    // Every key the callback hears goes to this game.
    platform::set_user_pointer(&game);

    const GLenum glew_status = glewInit();
    if (glew_status != GLEW_OK)
        std::cerr << "Error: " << glewGetErrorString(glew_status) << std::endl;

    report_gl_context();

    // Without them every shader, buffer and vertex array call would jump
    // through a null pointer. GLEW's status does not say: on a Wayland
    // window it reports a failure after loading every one.
    if (const std::vector<std::string> missing = missing_gl_functions(); !missing.empty()) {
        std::string names;
        for (const std::string& name : missing)
            names += (names.empty() ? "" : ", ") + name;
        std::cerr << "The OpenGL context has no " << names << "." << std::endl;
        throw FatalError{"The OpenGL functions the game needs could not be loaded; it cannot start."};
    }
    // Before the first frame, and before the cursor is captured, which
    // waits for a window that is shown.
    show_window_the_driver_draws(game);
    if (game.redraw_only_changes && software_renderer())
        game.frames_kept = platform::keep_frames_drawn();
    // A swap makes the driver take new buffers, so a frame shown by one is
    // followed by a frame drawn whole. Made now, with nothing drawn, it lets
    // the first frame be copied like the rest.
    if (game.frames_kept) {
        glClear(GL_COLOR_BUFFER_BIT);
        platform::swap_buffers();
    }

    glEnable(GL_FRAMEBUFFER_SRGB);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LINE_SMOOTH);
    // A missing size was filled in when the window opened, and a fullscreen
    // mode or a window manager may give another size than the one asked for:
    // draw into what the window really has.
    follow_framebuffer_size(game, true);
    add_players_gamepad_mappings(game);

    platform::disable_mouse_cursor();
    platform::get_mouse_pos(&game.last_mouse_x, &game.last_mouse_y);
    game.zoom_level = 0.0f;
    return 0;
}
