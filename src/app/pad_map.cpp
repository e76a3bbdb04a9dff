#include "app/pad_map.h"

#include <algorithm>
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

// The right stick turns the camera only past this tilt, and at full tilt
// by this many degrees a second; a trigger pulled all the way moves it
// this many cells a second.
constexpr float CAMERA_DEAD_ZONE = 0.2f;
constexpr float CAMERA_DEGREES_PER_SECOND = 150.0f;
constexpr float ZOOM_CELLS_PER_SECOND = 8.0f;

constexpr size_t at(int input)
{
    return static_cast<size_t>(input);
}

// How far a trigger is pulled past the middle, from 0 to 1.
float pulled(float trigger)
{
    return std::clamp(trigger, 0.0f, 1.0f);
}

} // namespace

PadMap::Inputs PadMap::held_now(const platform::PadState& pad) const
{
    Inputs held{};
    for (int button = 0; button < platform::PAD_BUTTONS; ++button)
        held[at(button)] = pad.buttons[at(button)];

    // The stick's direction, if any, along its larger axis.
    const float x = pad.axes[platform::PAD_LEFT_X];
    const float y = pad.axes[platform::PAD_LEFT_Y];
    const int was = held_[at(PAD_STICK_LEFT)]  ? PAD_STICK_LEFT
                  : held_[at(PAD_STICK_RIGHT)] ? PAD_STICK_RIGHT
                  : held_[at(PAD_STICK_UP)]    ? PAD_STICK_UP
                  : held_[at(PAD_STICK_DOWN)]  ? PAD_STICK_DOWN : -1;
    const float along_was = was == PAD_STICK_LEFT ? -x : was == PAD_STICK_RIGHT ? x : was == PAD_STICK_UP ? -y : y;
    if (was >= 0 && along_was > STICK_RELEASED) {
        held[at(was)] = true;
    } else if (std::fmax(std::fabs(x), std::fabs(y)) > STICK_PRESSED) {
        const int now = std::fabs(x) >= std::fabs(y) ? (x < 0 ? PAD_STICK_LEFT : PAD_STICK_RIGHT)
                                                     : (y < 0 ? PAD_STICK_UP : PAD_STICK_DOWN);
        held[at(now)] = true;
    }

    for (const auto& [input, axis] : {std::pair{PAD_LEFT_TRIGGER_PULLED, platform::PAD_LEFT_TRIGGER},
                                      {PAD_RIGHT_TRIGGER_PULLED, platform::PAD_RIGHT_TRIGGER}}) {
        const float trigger = pad.axes[at(axis)];
        held[at(input)] = held_[at(input)] ? trigger > TRIGGER_RELEASED : trigger > TRIGGER_PRESSED;
    }
    return held;
}

std::vector<Command> PadMap::commands_for(const platform::PadState& pad, EditMode mode, const InputBindings& bindings,
                                          bool menu_open)
{
    std::vector<Command> commands;
    for (const Chord& chord : chords_for(pad))
        if (const std::optional<Command> command = bindings.command_for(chord, mode, menu_open))
            commands.push_back(*command);
    return commands;
}

std::vector<Chord> PadMap::chords_for(const platform::PadState& pad)
{
    std::vector<Chord> chords;
    if (!pad.connected) {
        connected_ = false;
        return chords;
    }
    const Inputs held = held_now(pad);
    const bool coming = !connected_;
    connected_ = true;
    const Inputs before = coming ? held : held_;
    held_ = held;

    const bool back_held = held[platform::PAD_BACK];
    if (back_held && !before[platform::PAD_BACK])
        back_chorded_ = false;
    for (int input = 0; input < PAD_INPUTS; ++input) {
        if (input == platform::PAD_BACK || !held[at(input)] || before[at(input)])
            continue;
        back_chorded_ = back_chorded_ || back_held;
        chords.push_back({input, back_held});
    }
    if (!back_held && before[platform::PAD_BACK] && !back_chorded_)
        chords.push_back({platform::PAD_BACK, false});
    return chords;
}

PadCamera PadMap::camera_for(const platform::PadState& pad, EditMode mode, double seconds) const
{
    PadCamera camera;
    if (!pad.connected)
        return camera;
    const float x = pad.axes[platform::PAD_RIGHT_X];
    const float y = pad.axes[platform::PAD_RIGHT_Y];
    const float tilt = std::min(1.0f, std::hypot(x, y));
    const float time = static_cast<float>(seconds);
    if (tilt > CAMERA_DEAD_ZONE) {
        // Past the dead zone the speed grows from nothing, so the camera
        // never jumps as the stick leaves it.
        const float speed = CAMERA_DEGREES_PER_SECOND * (tilt - CAMERA_DEAD_ZONE) / (1.0f - CAMERA_DEAD_ZONE) / tilt;
        camera.azimuth = x * speed * time;
        camera.polar = y * speed * time;
    }
    if (mode != EditMode::EDITING || pad.buttons[platform::PAD_BACK])
        camera.nearer = (pulled(pad.axes[platform::PAD_RIGHT_TRIGGER]) - pulled(pad.axes[platform::PAD_LEFT_TRIGGER])) *
                        ZOOM_CELLS_PER_SECOND * time;
    return camera;
}
