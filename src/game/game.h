// The one game object: everything that lives for one game, from the camera
// to the loaded models.
#pragma once

#include "game/edit_mode.h"
#include "game/frame_period.h"
#include "game/level_grid.h"
#include "game/level_set.h"
#include "game/mesh_record.h"
#include "game/player_aids.h"
#include "game/player_options.h"
#include "game/uniform_locations.h"
#include "game/world_events.h"
#include "progress/progress.h"

#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ParticleSystem;
class ResourcePreload;

// The settings file, read from the working directory.
constexpr const char* SETTINGS_FILE = "tirak.inp";

class Game {
public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Recomputes camera_eye and view_matrix from the orbit values.
    void update_camera();

    glm::vec3 camera_up{0.0f, 1.0f, 0.0f};
    glm::vec3 camera_target{0.0f, 0.0f, 0.0f};
    glm::vec3 camera_eye{0.0f};
    float camera_distance = 14.0f;
    float camera_azimuth = 315.0f; // degrees about the vertical axis
    float camera_polar = 45.0f;    // degrees down from +y, strictly inside (0, 180)
    glm::mat4 view_matrix{1.0f};

    int32_t width = 0;  // window size in pixels, from the settings
    int32_t height = 0;

    std::array<int32_t, 3> grid_position{}; // the ship's cell: x, y, z
    float flight_progress = 0.0f;
    // The beamers the ship has come out of in the flight under way: a flight
    // that comes out of one again goes round for ever.
    uint8_t beamers_left = 0;

    int32_t mouse_x = 0;
    int32_t mouse_y = 0;
    int32_t last_mouse_x = 0;
    int32_t last_mouse_y = 0;
    float zoom_level = 0.0f;

    // The models and images being read on another thread while the window
    // opens; start-up takes them and lets it go.
    std::shared_ptr<ResourcePreload> preload;
    std::vector<MeshRecord> mesh_records;        // by model index
    std::map<std::string, uint32_t> texture_map; // texture file name -> texture
    // Shared only so that this header can leave the type incomplete: the
    // deleter is fixed where the system is made. The game is its one owner.
    std::shared_ptr<ParticleSystem> particles;
    // The cells' draw order and instance matrices, made by the renderer at
    // its first frame; shared for the same reason (this declares the class).
    std::shared_ptr<class CellInstances> cell_instances;
    // The menu over the game, made the first time it opens; shared for the
    // same reason.
    std::shared_ptr<class Menu> menu;
    // While the menu is open: no flight step, no camera from the mouse.
    bool paused = false;
    bool quit_requested = false; // the menu's Quit: the loop ends
    glm::mat4 goal_spin_matrix{1.0f};

    std::unique_ptr<LevelGrid> level_grid;
    std::vector<glm::vec4> cubes; // occupied cells: x, y, z and the cell value
    std::vector<glm::mat4> cube_rotations;
    int32_t ship_index = 0;
    int32_t grid_size = 0;
    int32_t level_number = 1;
    // The level the settings start at: every level up to it counts as open.
    int32_t start_level = 1;
    std::string level_name; // as its file gives it; empty without one
    // Why the level built from its file cannot be played (it has no ship
    // start), or empty when it can; the game then edits it.
    std::string unplayable;
    // The launches of a shortest way from the level's start as it is now
    // (saved edits change it); 0 when there is none, or no ship.
    int32_t par = 0;
    // The set being played, and its level files 1.lev to N.lev, counted at
    // start-up and again when the game goes to the other set.
    LevelSet level_set = LevelSet::SHIPPED;
    int32_t level_file_count = 1;

    // R, U and H, and the launches U can take back.
    PlayerAids aids;
    // What the world did in the frame under way; the frame loop empties it
    // once every listener has heard it, before the keys of the next frame.
    std::vector<WorldEvent> events;
    // The levels of the set being played that are solved, as its progress
    // file keeps them.
    Progress progress;
    LevelSet progress_set = LevelSet::SHIPPED; // whose solves `progress` holds
    bool progress_unwritable = false; // said once, then the game plays on
    bool progress_kept_as_is = false; // unread at start-up: never written over this run
    bool help_shown = false;          // F1's panel of keys
    bool text_shown = true;           // settings key "text": no text but F1's and the menu's when false
    // Settings key "redraw_only_changes": on a software renderer whose
    // window can keep the frame before, draw again only what changed.
    bool redraw_only_changes = true;
    bool frames_kept = false; // so it does: start-up found the window could
    PlayerOptions options;            // the text's size, the mouse's speed and direction
    // The settings keys "sound" and "volume" (0 to 100), and M's mute.
    bool sound_on = true;
    int32_t sound_volume = 80;
    bool sound_muted = false;
    // The settings keys "music", "music_volume" (0 to 100, 0 as "music =
    // no") and "mute_unfocused"; whether the music started at all (it
    // starts only at the game's start), for the menu to say so.
    bool music_on = true;
    int32_t music_volume = 60;
    bool music_playing = false;
    bool mute_unfocused = true;
    // Shared for the reason the particles are: the game is its one owner.
    std::shared_ptr<class GameSound> sound;

    // E's level editor. While it is on, the world is built from the grid
    // being edited, not from the level's file: R and the goal of a
    // play-test start it again from there.
    EditMode edit_mode = EditMode::OFF;
    std::shared_ptr<struct EditorSession> editor; // kept from one E to the next
    std::shared_ptr<const LevelGrid> edited_grid;
    Cell edit_cursor{};
    std::shared_ptr<class CursorBox> cursor_box; // drawn round it, made at its first frame
    // V's view of what the solver found in the level being edited: where the
    // ship can rest, the dead ends and a shortest way. The marks follow every
    // edit; the drawing is made at its first frame.
    bool solver_view_shown = false;
    std::shared_ptr<const struct SolverMarks> solver_marks;
    std::shared_ptr<class SolverView> solver_view;
    // The lines told the player this frame (see player_lines.h), shown by
    // the HUD; emptied with the events.
    std::vector<std::string> said;

    UniformLocations uniforms;
    UnlitProgram unlit;
    GenVertexArraysFn gen_vertex_arrays = nullptr;
    BindVertexArrayFn bind_vertex_array = nullptr;
    DeleteVertexArraysFn delete_vertex_arrays = nullptr;
};
