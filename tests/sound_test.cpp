#include "support/scratch_levels.h"

#include "game/game.h"
#include "sound/sound_cues.h"
#include "sound/sound_file.h"
#include "sound/sound_output.h"
#include "sound/sound_stream.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

void put(std::string& bytes, uint32_t value, int width)
{
    for (int k = 0; k < width; ++k)
        bytes += static_cast<char>(value >> (8 * k) & 0xff);
}

// A WAV file with this format and `frames` frames of a quiet tone; the data
// chunk claims `claimed` frames when given.
std::string wav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames, int claimed = -1)
{
    const uint32_t frame_bytes = channels * bits / 8u;
    std::string data;
    for (uint32_t k = 0; k < frames * frame_bytes; ++k)
        data += static_cast<char>(k % 7 * 3);
    std::string bytes = "RIFF";
    put(bytes, 36 + static_cast<uint32_t>(data.size()), 4);
    bytes += "WAVEfmt ";
    put(bytes, 16, 4);
    put(bytes, tag, 2);
    put(bytes, channels, 2);
    put(bytes, rate, 4);
    put(bytes, rate * frame_bytes, 4);
    put(bytes, frame_bytes, 2);
    put(bytes, bits, 2);
    bytes += "data";
    put(bytes, claimed < 0 ? frames * frame_bytes : claimed * frame_bytes, 4);
    return bytes + data;
}

std::string problem_of(const std::string& bytes)
{
    const Result<SoundClip> file = decode_sound(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), "x.wav");
    EXPECT_TRUE(!file || !file.value().samples.empty());
    return file.problem();
}

TEST(SoundFile, TakesMonoPcmWavAndSaysWhyNotOtherwise)
{
    for (const char* name : SOUND_FILES) {
        const Result<SoundClip> file = read_sound_file(std::string(TIRAK_DATA_DIR) + "/" + name);
        ASSERT_EQ(file.problem(), "") << name;
        EXPECT_EQ(file.value().rate, 44100) << name;
        EXPECT_LE(file.value().samples.size(), 44100u * 3 / 2) << name << ": no event needs a longer sound";
    }
    EXPECT_EQ(problem_of(wav(1, 1, 44100, 16, 100)), "");
    EXPECT_EQ(problem_of(wav(1, 1, 8000, 8, 80000)), "");
    const char* const SILENT = "; this sound stays silent.";
    const struct {
        std::string bytes;
        std::string problem;
    } refused[] = {
        {"OggS" + wav(1, 1, 44100, 16, 100).substr(4), "it is not a WAV file: the game's sounds are PCM WAV"},
        {"", "it is not a WAV file: the game's sounds are PCM WAV"},
        {wav(3, 1, 44100, 32, 100), "its samples are not PCM: the game's sounds are PCM WAV"},
        {wav(1, 2, 44100, 16, 100), "it has 2 channels: a sound must be mono, so that it can be placed"},
        {wav(1, 1, 4000, 16, 100), "its rate of 4000 samples a second is not from 8000 to 192000"},
        {wav(1, 1, 44100, 16, 0), "it holds no samples"},
        {wav(1, 1, 8000, 8, 80001), "it is longer than 10 seconds"},
        {wav(1, 1, 44100, 16, 100, 1000), "the chunk at byte 36 claims 2000 bytes, more than the file holds"},
        {wav(1, 1, 44100, 16, 100) + "LIST", "it ends inside a chunk's header, at byte 244"},
        {wav(1, 1, 44100, 16, 100).replace(36, 4, "junk"), "it has no data chunk"},
        {wav(0x7777, 1, 44100, 16, 100), "the decoder says: "},
    };
    for (const auto& c : refused) {
        const std::string problem = problem_of(c.bytes);
        EXPECT_EQ(problem.rfind("x.wav: " + c.problem, 0), 0u) << problem;
        EXPECT_EQ(problem.substr(problem.size() - std::strlen(SILENT)), SILENT) << problem;
    }
    const ScratchLevels scratch;
    EXPECT_EQ(read_sound_file("sounds/none.wav").problem(),
              "sounds/none.wav: the file is missing or unreadable; this sound stays silent.");
}

// A piece's samples, read a buffer at a time as the game streams it.
std::vector<int16_t> read_all(SoundStream& stream)
{
    const auto channels = static_cast<size_t>(stream.channels());
    std::vector<int16_t> samples(static_cast<size_t>(stream.frames()) * channels + 8192 * channels);
    size_t frames = 0;
    for (Result<size_t> read = size_t{1}; read && read.value() > 0;) {
        read = stream.read(samples.data() + frames * channels, 8192);
        EXPECT_EQ(read.problem(), "");
        frames += read ? read.value() : 0;
    }
    EXPECT_EQ(frames, static_cast<size_t>(stream.frames()));
    samples.resize(frames * channels);
    return samples;
}

double decibels(const std::vector<int16_t>& samples, size_t first, size_t count)
{
    double sum = 0.0;
    for (size_t k = first; k < first + count; ++k)
        sum += static_cast<double>(samples[k]) * samples[k];
    return 10.0 * std::log10(sum / count);
}

TEST(SoundStream, PlaysEachPieceRoundWithoutASeamAndSaysWhyNotOtherwise)
{
    for (const char* name : MUSIC_FILES) {
        SCOPED_TRACE(name);
        Result<SoundStream> piece = SoundStream::open_file(std::string(TIRAK_DATA_DIR) + "/" + name);
        ASSERT_EQ(piece.problem(), "");
        ASSERT_EQ(piece->channels(), 2);
        EXPECT_GE(piece->seconds(), 120.0);
        EXPECT_LE(piece->seconds(), 240.0);
        const std::vector<int16_t> samples = read_all(piece.value());
        int largest_step = 0, join_step = 0;
        for (size_t k = 2; k < samples.size(); ++k)
            largest_step = std::max(largest_step, std::abs(samples[k] - samples[k - 2]));
        for (size_t ear = 0; ear < 2; ++ear)
            join_step = std::max(join_step, std::abs(samples[ear] - samples[samples.size() - 2 + ear]));
        EXPECT_LE(join_step, largest_step) << "a click where the piece goes round";
        const size_t second = 2 * 44100;
        EXPECT_NEAR(decibels(samples, samples.size() - second, second), decibels(samples, 0, second), 1.0);
        ASSERT_EQ(piece->rewind().problem(), "");
        std::vector<int16_t> again(2 * 8192);
        ASSERT_EQ(piece->read(again.data(), 8192).value(), 8192u);
        EXPECT_TRUE(std::equal(again.begin(), again.end(), samples.begin())) << "the start again after the rewind";
    }

    const ScratchLevels scratch;
    const struct {
        int rate, channels;
        std::string problem;
    } made[] = {
        {44100, 1, ""},
        {22050, 2, "its rate of 22050 samples a second is not 44100"},
        {44100, 3, "it has 3 channels: music must be mono or stereo"},
    };
    for (const auto& c : made) {
        SF_INFO info{};
        info.samplerate = c.rate;
        info.channels = c.channels;
        info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        SNDFILE* file = sf_open("made.ogg", SFM_WRITE, &info);
        const std::vector<float> tone(static_cast<size_t>(c.channels) * 4410, 0.25f);
        sf_writef_float(file, tone.data(), 4410);
        sf_close(file);
        const std::string problem = SoundStream::open_file("made.ogg").problem();
        EXPECT_EQ(problem, c.problem.empty() ? "" : "made.ogg: " + c.problem + "; this piece stays silent.");
    }
    scratch.write("drift.ogg", file_text(std::string(TIRAK_DATA_DIR) + "/sounds/stop.wav"));
    EXPECT_EQ(SoundStream::open_file("drift.ogg").problem(),
              "drift.ogg: it is not an Ogg file: the game's music is Ogg Vorbis; this piece stays silent.");
    EXPECT_EQ(SoundStream::open_file("music/none.ogg").problem(),
              "music/none.ogg: the file is missing or unreadable; this piece stays silent.");
}

// Left and right loudness of one sound event heard from the game's camera.
std::pair<double, double> heard(float azimuth, int32_t grid_size, WorldEventKind kind, Cell cell)
{
    Game game;
    game.camera_azimuth = azimuth;
    game.update_camera();
    std::unique_ptr<SoundOutput> output = SoundOutput::open_in_memory(44100);
    EXPECT_NE(output, nullptr);
    if (output == nullptr)
        return {0.0, 0.0};
    SoundClip tone;
    tone.rate = 44100;
    for (int k = 0; k < 4410; ++k)
        tone.samples.push_back(static_cast<int16_t>(8000 * std::sin(k * 0.06)));
    output->load(Sound::STOP, tone);
    output->load(Sound::GOAL, tone);
    output->set_listener(game.camera_eye, game.camera_target, game.camera_up);
    for (const SoundCue& cue : cues_for({{kind, cell}}, grid_size))
        output->play(cue);
    const std::vector<int16_t> samples = output->render(4410);
    double left = 0.0, right = 0.0;
    for (size_t k = 0; k + 1 < samples.size(); k += 2) {
        left += std::abs(samples[k]);
        right += std::abs(samples[k + 1]);
    }
    return {left, right};
}

TEST(SoundOutput, PlacesAStopOnTheSideOfTheListenerItCameFrom)
{
    // The camera looks at the grid's middle. From azimuth 315 the +x axis
    // runs to the right of the screen and +z to the left, from 135 the other
    // way round; from azimuth 0, -z runs to the right.
    const struct {
        float azimuth;
        int32_t grid_size;
        WorldEventKind kind;
        Cell cell;
        int side; // -1 left louder, 1 right louder, 0 even
    } cases[] = {
        {315.0f, 8, WorldEventKind::STOPPED, {7, 0, 0}, 1},  {315.0f, 8, WorldEventKind::STOPPED, {0, 0, 7}, -1},
        {135.0f, 8, WorldEventKind::STOPPED, {7, 0, 0}, -1}, {135.0f, 8, WorldEventKind::STOPPED, {0, 0, 7}, 1},
        {0.0f, 16, WorldEventKind::STOPPED, {8, 0, 3}, 1},   {0.0f, 16, WorldEventKind::STOPPED, {8, 0, 12}, -1},
        {315.0f, 8, WorldEventKind::SOLVED, {7, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        const auto [left, right] = heard(c.azimuth, c.grid_size, c.kind, c.cell);
        SCOPED_TRACE(testing::Message() << "azimuth " << c.azimuth << ", cell " << c.cell[0] << " " << c.cell[2]
                                        << ": left " << left << ", right " << right);
        EXPECT_GT(left + right, 0.0);
        if (c.side == 0)
            EXPECT_NEAR(left / right, 1.0, 0.01);
        else
            EXPECT_GT(c.side < 0 ? left / right : right / left, 1.5);
    }
}

} // namespace
