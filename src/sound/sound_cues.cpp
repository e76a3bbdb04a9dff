#include "sound/sound_cues.h"

#include "transforms/camera.h"

const std::array<const char*, SOUND_COUNT> SOUND_FILES = {
    "sounds/launch.wav", "sounds/stop.wav", "sounds/beam.wav",   "sounds/goal.wav",   "sounds/restart.wav",
    "sounds/undo.wav",   "sounds/hint.wav", "sounds/no_way.wav", "sounds/select.wav",
};

namespace {

// The way out of the beamers sounds higher than the way in, so the two
// read as a jump from one to the other.
constexpr float BEAMER_EXIT_PITCH = 1.5f;

// Where the picture puts a cell's middle: its models span it from its
// corner, and the whole grid is drawn about the origin.
glm::vec3 middle_of(Cell cell, int32_t grid_size)
{
    const glm::vec4 middle(cell[0] + 0.5f, cell[1] + 0.5f, cell[2] + 0.5f, 1.0f);
    return glm::vec3(make_world_translation(grid_size) * middle);
}

SoundCue everywhere(Sound sound)
{
    return {sound, false, glm::vec3(0.0f), 1.0f};
}

} // namespace

std::vector<SoundCue> cues_for(const std::vector<WorldEvent>& events, int32_t grid_size)
{
    const auto at = [grid_size](Sound sound, Cell cell, float pitch = 1.0f) {
        return SoundCue{sound, true, middle_of(cell, grid_size), pitch};
    };
    std::vector<SoundCue> cues;
    for (const WorldEvent& event : events) {
        switch (event.kind) {
        case WorldEventKind::LAUNCHED: cues.push_back(at(Sound::LAUNCH, event.cell)); break;
        case WorldEventKind::STOPPED: cues.push_back(at(Sound::STOP, event.cell)); break;
        case WorldEventKind::BEAMED:
            cues.push_back(at(Sound::BEAM, event.cell));
            cues.push_back(at(Sound::BEAM, event.other, BEAMER_EXIT_PITCH));
            break;
        case WorldEventKind::SOLVED: cues.push_back(everywhere(Sound::GOAL)); break;
        case WorldEventKind::FLEW_OUT:
        case WorldEventKind::ENDLESS:
        case WorldEventKind::RESTARTED: cues.push_back(everywhere(Sound::RESTART)); break;
        case WorldEventKind::UNDONE: cues.push_back(everywhere(Sound::UNDO)); break;
        case WorldEventKind::HINTED: cues.push_back(everywhere(Sound::HINT)); break;
        case WorldEventKind::NO_WAY: cues.push_back(everywhere(Sound::NO_WAY)); break;
        case WorldEventKind::CHOSEN: cues.push_back(everywhere(Sound::SELECT)); break;
        }
    }
    return cues;
}
