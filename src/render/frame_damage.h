// Which part of the window a frame must draw again, when the window keeps
// the frame before. With the camera still, only the beamers' clouds and the
// goal's spin move of themselves; drawing just round them, and round text
// that changed, spares a software renderer nearly all of its work. Any
// other change to what the scene shows takes the whole window.
#pragma once

#include "game/edit_mode.h"
#include "game/mesh_record.h"
#include "render/render_settings.h"
#include "transforms/screen_rect.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

class Game;

class FrameDamage {
public:
    // The parts of the window to draw, each in a pass of its own, for the
    // game as it is now and for what changed in the overlay (nothing when it
    // is as the last frame drew it); none when nothing moved. The first
    // frame, and any frame after `forget`, is the whole window.
    std::vector<ScreenRect> next(const Game& game, const std::vector<ScreenRect>& overlay_changed);
    void forget() { known_ = false; }

private:
    // Everything else the scene is drawn from, as the last frame had it.
    // Compared in place each frame, copied only when it changed.
    struct Still {
        glm::mat4 camera{1.0f};
        glm::mat4 marker{1.0f};
        int width = 0;
        int height = 0;
        int grid_size = 0;
        int ship_index = 0;
        bool flying = false;
        EditMode edit_mode = EditMode::OFF;
        RenderSettings settings;
        std::vector<glm::vec4> cells;
        std::vector<glm::mat4> cell_turns;
        std::vector<MeshRecord> models;

        bool matches(const Game& game) const;
        void take(const Game& game);
    };

    Still last_;
    std::vector<ScreenRect> last_moving_;
    bool known_ = false;
};
