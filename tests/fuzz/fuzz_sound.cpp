// Fuzz target: arbitrary bytes as a sound file a player drops in, read
// through the game's checks by libsndfile, as far as the clip OpenAL gets;
// and the same bytes as a piece of music, streamed to its end and back to
// its start.
#include "fuzz_support.h"

#include "sound/sound_file.h"
#include "sound/sound_stream.h"

#include <cstring>
#include <vector>

namespace {

const std::string NAME = "sounds/fuzz.wav";
const std::string MUSIC_NAME = "music/fuzz.ogg";
// Past this the stream is only more of the same decoding; 16 KiB of input
// decodes to fewer frames than this unless it is mostly silence.
constexpr size_t MOST_FRAMES = 1u << 20;

bool one_line_about(const std::string& name, const std::string& text)
{
    return text.compare(0, name.size() + 2, name + ": ") == 0 && text.find('\n') == std::string::npos;
}

void check_sound(const uint8_t* data, size_t size)
{
    const Result<SoundClip> sound = decode_sound(data, size, NAME);
    if (!sound) {
        FUZZ_EXPECT(one_line_about(NAME, sound.problem()), "the problem is [" + sound.problem() + "]");
        return;
    }
    const SoundClip& clip = sound.value();
    // Only a RIFF WAVE file reaches the decoder, and what it gives is a
    // sound the game can hold and place.
    FUZZ_EXPECT(size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0,
                "a file without a WAVE header gave a sound");
    FUZZ_EXPECT(clip.rate >= 8000 && clip.rate <= 192000, "a rate of " + std::to_string(clip.rate));
    FUZZ_EXPECT(!clip.samples.empty() && clip.samples.size() <= MAX_SOUND_SECONDS * clip.rate,
                std::to_string(clip.samples.size()) + " samples at " + std::to_string(clip.rate));
}

void check_music(const uint8_t* data, size_t size)
{
    Result<SoundStream> piece = SoundStream::open_bytes(std::vector<uint8_t>(data, data + size), MUSIC_NAME);
    if (!piece) {
        FUZZ_EXPECT(one_line_about(MUSIC_NAME, piece.problem()), "the problem is [" + piece.problem() + "]");
        return;
    }
    SoundStream& stream = piece.value();
    FUZZ_EXPECT(size >= 4 && std::memcmp(data, "OggS", 4) == 0, "a file without an Ogg page gave music");
    FUZZ_EXPECT(stream.rate() == MUSIC_RATE && (stream.channels() == 1 || stream.channels() == 2),
                std::to_string(stream.channels()) + " channels at " + std::to_string(stream.rate()));
    FUZZ_EXPECT(stream.frames() >= 1 && stream.seconds() <= MAX_MUSIC_SECONDS, std::to_string(stream.frames()) + " frames");
    for (int round = 0; round < 2; ++round) {
        std::vector<int16_t> buffer(4096 * 2);
        size_t frames = 0;
        for (Result<size_t> read = size_t{1}; read && read.value() > 0 && frames < MOST_FRAMES;) {
            read = stream.read(buffer.data(), 4096);
            if (!read)
                FUZZ_EXPECT(one_line_about(MUSIC_NAME, read.problem()), "the problem is [" + read.problem() + "]");
            else
                FUZZ_EXPECT(read.value() <= 4096, "read " + std::to_string(read.value()) + " of 4096 frames");
            frames += read ? read.value() : 0;
        }
        FUZZ_EXPECT(frames <= static_cast<size_t>(stream.frames()),
                    std::to_string(frames) + " frames read of " + std::to_string(stream.frames()));
        const Result<> rewound = stream.rewind();
        if (!rewound) {
            FUZZ_EXPECT(one_line_about(MUSIC_NAME, rewound.problem()), "the problem is [" + rewound.problem() + "]");
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    check_sound(data, size);
    check_music(data, size);
    return 0;
}
