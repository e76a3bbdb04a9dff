// The game's sounds played through OpenAL: the listener sits at the camera
// and turns with it, and a placed sound comes from its cell.
#pragma once

#include "result/result.h"
#include "sound/sound_cues.h"
#include "sound/sound_file.h"

#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SoundOutput {
public:
    // Opens the system's default output; fails when there is none (or only
    // OpenAL's silent stand-in), after which the game plays silent.
    static Result<std::unique_ptr<SoundOutput>> open_device();
    // An output that plays into memory, `render` at a time: no device, and
    // no clock but the samples asked for.
    static std::unique_ptr<SoundOutput> open_in_memory(int32_t rate);
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Makes this output the one OpenAL calls go to, on any thread.
    void make_current();
    // Holds the clip for the sound; a sound never loaded stays silent.
    void load(Sound sound, const SoundClip& clip);
    void play(const SoundCue& cue);
    void stop_all();
    // The camera: where it is, where it looks and which way is up.
    void set_listener(glm::vec3 eye, glm::vec3 target, glm::vec3 up);
    // Everything the output plays, the music too: 0 is silence, 1 as it
    // was made.
    void set_gain(float gain);
    // The sounds alone, apart from the music.
    void set_sounds_gain(float gain);

    // Seconds of sound the device has played since it opened; 0 where the
    // device cannot say.
    double clock_seconds() const;
    // An in-memory output's next `frames` samples, left and right.
    std::vector<int16_t> render(int32_t frames);

private:
    struct Device;
    explicit SoundOutput(std::unique_ptr<Device> device);

    std::unique_ptr<Device> device_;
    std::array<uint32_t, SOUND_COUNT> buffers_{};
    std::vector<uint32_t> sources_;
    size_t next_source_ = 0;
    float sounds_gain_ = 1.0f;
};
