// Fuzz target: arbitrary bytes as a sound file a player drops in, read
// through the game's checks by libsndfile, as far as the clip OpenAL gets.
#include "fuzz_support.h"

#include "sound/sound_file.h"

#include <cstring>

namespace {

const std::string NAME = "sounds/fuzz.wav";

bool one_line_about_the_file(const std::string& text)
{
    return text.compare(0, NAME.size() + 2, NAME + ": ") == 0 && text.find('\n') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Result<SoundClip> sound = decode_sound(data, size, NAME);
    if (!sound) {
        FUZZ_EXPECT(one_line_about_the_file(sound.problem()), "the problem is [" + sound.problem() + "]");
        return 0;
    }
    const SoundClip& clip = sound.value();
    // Only a RIFF WAVE file reaches the decoder, and what it gives is a
    // sound the game can hold and place.
    FUZZ_EXPECT(size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0,
                "a file without a WAVE header gave a sound");
    FUZZ_EXPECT(clip.rate >= 8000 && clip.rate <= 192000, "a rate of " + std::to_string(clip.rate));
    FUZZ_EXPECT(!clip.samples.empty() && clip.samples.size() <= MAX_SOUND_SECONDS * clip.rate,
                std::to_string(clip.samples.size()) + " samples at " + std::to_string(clip.rate));
    return 0;
}
