// Reading the game's sound files. Players can drop any file in place of
// ours, so only the one format we ship is let through to the decoder: a
// mono PCM WAV file, checked by its header bytes first.
#pragma once

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

struct SoundFile {
    SoundClip clip;
    // The one line to print when the file could not be used, naming it;
    // empty when the clip is good.
    std::string problem;
};

// Decodes the bytes of a sound file named `name` (for the message).
SoundFile decode_sound(const uint8_t* bytes, size_t size, const std::string& name);

// Reads and decodes a sound file.
SoundFile read_sound_file(const std::string& name);
