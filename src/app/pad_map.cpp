#include "app/pad_map.h"

#include <cmath>
#include <optional>

namespace {

// A stick counts as tilted past this, and as back once within the second:
// between the two it keeps what it was, so a hand's tremble at the edge
// cannot turn twice.
constexpr float STICK_PRESSED = 0.5f;
constexpr float STICK_RELEASED = 0.3f;
// A trigger rests at -1: it counts as pulled past half way, and as let go
// once it is back below a quarter.
constexpr float TRIGGER_PRESSED = 0.0f;
constexpr float TRIGGER_RELEASED = -0.5f;

std::optional<Command> pad_play_command(int input)
{
    switch (input) {
    case platform::PAD_A: return Command::LAUNCH;
    case platform::PAD_B: return Command::UNDO;
    case platform::PAD_X: return Command::HINT;
    case platform::PAD_Y: return Command::RESTART;
    case platform::PAD_LEFT_BUMPER: return Command::PREVIOUS_LEVEL;
    case platform::PAD_RIGHT_BUMPER: return Command::NEXT_LEVEL;
    case platform::PAD_BACK: return Command::HELP;
    case platform::PAD_START: return Command::EDIT;
    case platform::PAD_LEFT_THUMB: return Command::MUTE;
    default: return std::nullopt;
    }
}

std::optional<Command> pad_editing_command(int input)
{
    switch (input) {
    case platform::PAD_A: return Command::PLACE_CUBE;
    case platform::PAD_B: return Command::EMPTY_CELL;
    case platform::PAD_X: return Command::PLACE_BEAMER;
    case platform::PAD_Y: return Command::PLACE_GOAL;
    case platform::PAD_RIGHT_THUMB: return Command::PLACE_SHIP_START;
    case platform::PAD_LEFT_BUMPER: return Command::LAYER_DOWN;
    case platform::PAD_RIGHT_BUMPER: return Command::LAYER_UP;
    case platform::PAD_BACK: return Command::HELP;
    case platform::PAD_START: return Command::EDIT;
    case platform::PAD_LEFT_THUMB: return Command::PLAY_TEST;
    case platform::PAD_GUIDE: return Command::SAVE;
    default: return std::nullopt;
    }
}

} // namespace

PadMap::Inputs PadMap::held_now(const platform::PadState& pad) const
{
    Inputs held{};
    for (int button = 0; button < platform::PAD_BUTTONS; ++button)
        held[static_cast<size_t>(button)] = pad.buttons[static_cast<size_t>(button)];

    // The stick's direction, if any, along its larger axis.
    const float x = pad.axes[platform::PAD_LEFT_X];
    const float y = pad.axes[platform::PAD_LEFT_Y];
    const int was = held_[STICK_LEFT] ? STICK_LEFT : held_[STICK_RIGHT] ? STICK_RIGHT
                  : held_[STICK_UP]   ? STICK_UP   : held_[STICK_DOWN]  ? STICK_DOWN : -1;
    const float along_was = was == STICK_LEFT ? -x : was == STICK_RIGHT ? x : was == STICK_UP ? -y : y;
    if (was >= 0 && along_was > STICK_RELEASED) {
        held[static_cast<size_t>(was)] = true;
    } else if (std::fmax(std::fabs(x), std::fabs(y)) > STICK_PRESSED) {
        const int now = std::fabs(x) >= std::fabs(y) ? (x < 0 ? STICK_LEFT : STICK_RIGHT) : (y < 0 ? STICK_UP : STICK_DOWN);
        held[static_cast<size_t>(now)] = true;
    }

    for (const auto& [input, axis] : {std::pair{LEFT_TRIGGER, platform::PAD_LEFT_TRIGGER}, {RIGHT_TRIGGER, platform::PAD_RIGHT_TRIGGER}}) {
        const float pulled = pad.axes[static_cast<size_t>(axis)];
        held[static_cast<size_t>(input)] = held_[static_cast<size_t>(input)] ? pulled > TRIGGER_RELEASED : pulled > TRIGGER_PRESSED;
    }
    return held;
}

std::vector<Command> PadMap::commands_for(const platform::PadState& pad, EditMode mode)
{
    std::vector<Command> commands;
    if (!pad.connected) {
        connected_ = false;
        return commands;
    }
    const Inputs held = held_now(pad);
    const bool coming = !connected_;
    connected_ = true;
    const Inputs before = coming ? held : held_;
    held_ = held;

    const bool editing = mode == EditMode::EDITING;
    for (int input = 0; input < INPUTS; ++input) {
        if (!held[static_cast<size_t>(input)] || before[static_cast<size_t>(input)])
            continue;
        std::optional<Command> command;
        switch (input) {
        case platform::PAD_DPAD_LEFT:
        case STICK_LEFT: command = editing ? Command::CURSOR_LEFT : Command::TURN_LEFT; break;
        case platform::PAD_DPAD_RIGHT:
        case STICK_RIGHT: command = editing ? Command::CURSOR_RIGHT : Command::TURN_RIGHT; break;
        case platform::PAD_DPAD_UP:
        case STICK_UP: command = editing ? Command::CURSOR_AWAY : Command::HEAD_UP; break;
        case platform::PAD_DPAD_DOWN:
        case STICK_DOWN: command = editing ? Command::CURSOR_NEARER : Command::HEAD_DOWN; break;
        case LEFT_TRIGGER: command = editing ? std::optional(Command::EDIT_UNDO) : std::nullopt; break;
        case RIGHT_TRIGGER: command = editing ? std::optional(Command::EDIT_REDO) : std::nullopt; break;
        default: command = editing ? pad_editing_command(input) : pad_play_command(input); break;
        }
        if (command)
            commands.push_back(*command);
    }
    return commands;
}
