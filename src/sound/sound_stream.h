// Reading the game's music a little at a time. A piece is minutes long, so
// it is decoded as it plays, not held decoded. Players can drop any file in
// place of ours, so only what we ship is let through: Ogg Vorbis, mono or
// stereo, at 44100 samples a second, at most ten minutes long.
#pragma once

#include "result/result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int32_t MUSIC_RATE = 44100;        // samples a second
constexpr double MAX_MUSIC_SECONDS = 600.0;

// The pieces, in data/: the first levels', the middle levels', and the
// last levels' and the players' own.
constexpr std::array<const char*, 3> MUSIC_FILES = {"music/drift.ogg", "music/lattice.ogg", "music/summit.ogg"};

// Ogg's page checksum: CRC-32 with the polynomial 0x04C11DB7, most
// significant bit first, from 0, over the page with its checksum field
// taken as 0, wherever it stands: what the page must hold there.
uint32_t ogg_page_checksum(const uint8_t* page, size_t length);

class SoundStream {
public:
    // Opens a piece, or gives the one line to print, naming the file, when
    // it cannot be played.
    static Result<SoundStream> open_file(const std::string& name);
    // The same from the bytes of a file named `name`.
    static Result<SoundStream> open_bytes(std::vector<uint8_t> bytes, const std::string& name);

    SoundStream(SoundStream&&) noexcept;
    SoundStream& operator=(SoundStream&&) noexcept;
    ~SoundStream();

    int32_t channels() const; // 1 or 2
    int32_t rate() const;     // always MUSIC_RATE
    int64_t frames() const;   // its length, in samples of each channel
    double seconds() const;

    // Decodes up to `frames` more frames into `out`, interleaved, which
    // must have room for frames * channels() samples: the frames read, fewer
    // only at the end of the piece, 0 once there. Fails, naming the file,
    // when the decoder stops short of the length the file gave.
    Result<size_t> read(int16_t* out, size_t frames);
    // Back to the start, for the piece to play round again.
    Result<> rewind();

private:
    struct Decoder;
    explicit SoundStream(std::unique_ptr<Decoder> decoder);
    // Checks the headers in `start`, the file's first bytes, then opens the
    // decoder on what the decoder reads from.
    static Result<SoundStream> open_decoder(std::unique_ptr<Decoder> decoder, const std::vector<uint8_t>& start);

    std::unique_ptr<Decoder> decoder_;
};
