// What libsndfile decodes from: a file's bytes in memory (as the fuzzers
// and the short sounds give them), or an open file read as it plays, so
// that a piece of minutes takes no more memory than the decoder's own.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <vector>

struct SoundSource {
    std::vector<uint8_t> bytes; // read from when there is no file
    std::FILE* file = nullptr;  // closed with the source
    sf_count_t size = 0;
    sf_count_t at = 0;

    SoundSource() = default;
    SoundSource(const SoundSource&) = delete;
    SoundSource& operator=(const SoundSource&) = delete;
    ~SoundSource();
};

// Opens the source for reading through libsndfile; null when it refuses,
// with sf_strerror(nullptr) saying why.
SNDFILE* open_sound_source(SoundSource& source, SF_INFO& info);

// The four bytes as the little-endian number RIFF and Ogg both write.
uint32_t little_endian_32(const uint8_t* bytes);
