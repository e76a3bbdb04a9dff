#include "sound/sound_cues.h"

const std::array<const char*, SOUND_COUNT> SOUND_FILES = {
    "sounds/launch.wav", "sounds/stop.wav", "sounds/beam.wav",   "sounds/goal.wav",   "sounds/restart.wav",
    "sounds/undo.wav",   "sounds/hint.wav", "sounds/no_way.wav", "sounds/select.wav",
};

namespace {

// The way out of the beamers sounds higher than the way in, so the two
// read as a jump from one to the other.
constexpr float BEAMER_EXIT_PITCH = 1.5f;

SoundCue at(Sound sound, Cell cell, float pitch = 1.0f)
{
    // A cell's models span it from its corner: its sound comes from its middle.
    return {sound, true, glm::vec3(cell[0], cell[1], cell[2]) + glm::vec3(0.5f), pitch};
}

SoundCue everywhere(Sound sound)
{
    return {sound, false, glm::vec3(0.0f), 1.0f};
}

} // namespace

std::vector<SoundCue> cues_for(const std::vector<WorldEvent>& events)
{
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
