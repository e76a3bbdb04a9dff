// Which sound each thing the world does makes, and where it is heard.
#pragma once

#include "game/world_events.h"

#include <glm/glm.hpp>

#include <array>
#include <vector>

enum class Sound { LAUNCH, STOP, BEAM, GOAL, RESTART, UNDO, HINT, NO_WAY, SELECT };
constexpr int SOUND_COUNT = 9;

// The sound files, in the order of Sound, from the working directory.
extern const std::array<const char*, SOUND_COUNT> SOUND_FILES;

struct SoundCue {
    Sound sound = Sound::LAUNCH;
    // A placed sound comes from `where` in the world; the others sound the
    // same from wherever the camera looks.
    bool placed = false;
    glm::vec3 where{0.0f};
    float pitch = 1.0f;
};

// The sounds of one frame's events, in their order, placed in the world
// as a grid of this size is drawn.
std::vector<SoundCue> cues_for(const std::vector<WorldEvent>& events, int32_t grid_size);
