// The options a player sets for how the game reads and feels, besides the
// window and the sound: how large the text is, and how the mouse turns
// the camera. Each is a settings key, written by the menu.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The settings key "text_size": the middle step is the size the text has
// always had.
enum class TextSize { SMALL, MEDIUM, LARGE };

// "small", "medium" or "large".
const char* text_size_name(TextSize size);
std::optional<TextSize> text_size_named(const std::string& name);
// How much larger than the middle step a line of that size is.
float text_scale(TextSize size);

// The settings key "mouse_speed": a percentage of the camera's turn for a
// unit of mouse motion, in steps the menu moves by.
constexpr int32_t LEAST_MOUSE_SPEED = 25;
constexpr int32_t MOST_MOUSE_SPEED = 300;
constexpr int32_t MOUSE_SPEED_STEP = 25;
constexpr int32_t DEFAULT_MOUSE_SPEED = 100;

struct PlayerOptions {
    TextSize text_size = TextSize::MEDIUM;
    int32_t mouse_speed = DEFAULT_MOUSE_SPEED;
    // The settings key "mouse_invert": the mouse moved up lowers the eye.
    bool mouse_inverted = false;
    bool solver_view = true; // the settings key "solver_view": whether V may show it
};
