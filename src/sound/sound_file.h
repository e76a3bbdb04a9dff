// Reading the game's sound files. Players can drop any file in place of
// ours, so only the one format we ship is let through to the decoder: a
// mono PCM WAV file, checked by its header bytes first.
#pragma once

#include "result/result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Longer than this and it is no sound effect; it would only take memory.
constexpr double MAX_SOUND_SECONDS = 10.0;

struct SoundClip {
    std::vector<int16_t> samples; // one channel
    int32_t rate = 0;             // samples a second
};

// Decodes the bytes of a sound file named `name`: the clip, or the one line
// to print, naming the file, when it cannot be used.
Result<SoundClip> decode_sound(const uint8_t* bytes, size_t size, const std::string& name);

// Reads and decodes a sound file.
Result<SoundClip> read_sound_file(const std::string& name);
