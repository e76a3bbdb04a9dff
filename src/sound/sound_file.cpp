#include "sound/sound_file.h"
#include "sound/sound_source.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr int32_t MIN_RATE = 8000;
constexpr int32_t MAX_RATE = 192000;
// A file this large cannot hold ten seconds of mono PCM at the highest
// rate we take in any sample format a WAV file may use.
constexpr size_t MAX_FILE_BYTES = 8u << 20;

void put_chunk(std::vector<uint8_t>& out, const uint8_t* chunk, uint32_t length)
{
    out.insert(out.end(), chunk, chunk + 8 + size_t{length});
    if (length & 1u)
        out.push_back(0);
}

// The bytes' fmt and data chunks as a WAV file of nothing else, or why the
// bytes are no whole WAV file. libsndfile walks every chunk of a file
// itself, and a chunk (or one inside a LIST) that claims more bytes than
// the file holds can keep it going round for ever: it is handed only the
// two chunks a sound needs, walked here first.
std::string only_fmt_and_data(const uint8_t* bytes, size_t size, std::vector<uint8_t>& out)
{
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return "it is not a WAV file: the game's sounds are PCM WAV";
    const uint8_t* format = nullptr;
    const uint8_t* data = nullptr;
    for (size_t at = 12; at < size;) {
        if (size - at < 8)
            return "it ends inside a chunk's header, at byte " + std::to_string(at);
        const uint32_t length = little_endian_32(bytes + at + 4);
        if (length > size - at - 8)
            return "the chunk at byte " + std::to_string(at) + " claims " + std::to_string(length) +
                   " bytes, more than the file holds";
        if (format == nullptr && std::memcmp(bytes + at, "fmt ", 4) == 0)
            format = bytes + at;
        if (data == nullptr && std::memcmp(bytes + at, "data", 4) == 0)
            data = bytes + at;
        // Chunks start on even bytes.
        at += 8 + size_t{length} + (length & 1u);
    }
    if (format == nullptr || data == nullptr)
        return format != nullptr ? "it has no data chunk" : "it has no fmt chunk";
    const uint8_t header[12] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    out.assign(header, header + 12);
    put_chunk(out, format, little_endian_32(format + 4));
    put_chunk(out, data, little_endian_32(data + 4));
    const auto riff_length = static_cast<uint32_t>(out.size() - 8);
    for (int k = 0; k < 4; ++k)
        out[4 + static_cast<size_t>(k)] = static_cast<uint8_t>(riff_length >> (8 * k));
    return "";
}

bool is_pcm(int format)
{
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32: return true;
    default: return false;
    }
}

// Why a decoded header cannot be a sound of the game, or "".
std::string header_problem(const SF_INFO& info)
{
    if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV || !is_pcm(info.format))
        return "its samples are not PCM: the game's sounds are PCM WAV";
    if (info.channels != 1)
        return "it has " + std::to_string(info.channels) + " channels: a sound must be mono, so that it can be placed";
    if (info.samplerate < MIN_RATE || info.samplerate > MAX_RATE)
        return "its rate of " + std::to_string(info.samplerate) + " samples a second is not from 8000 to 192000";
    if (info.frames < 1)
        return "it holds no samples";
    if (static_cast<double>(info.frames) > MAX_SOUND_SECONDS * info.samplerate)
        return "it is longer than 10 seconds";
    return "";
}

std::string decode_problem(const uint8_t* bytes, size_t size, SoundClip& clip)
{
    if (size > MAX_FILE_BYTES)
        return "it is larger than 8 MiB";
    std::vector<uint8_t> wave;
    if (std::string problem = only_fmt_and_data(bytes, size, wave); !problem.empty())
        return problem;
    // Decoded from memory, so that the fuzzer and the game decode alike.
    SoundSource source;
    source.size = static_cast<sf_count_t>(wave.size());
    source.bytes = std::move(wave);
    SF_INFO info{};
    SNDFILE* sound = open_sound_source(source, info);
    if (sound == nullptr)
        return std::string("the decoder says: ") + sf_strerror(nullptr);
    std::string problem = header_problem(info);
    if (problem.empty()) {
        clip.rate = info.samplerate;
        clip.samples.resize(static_cast<size_t>(info.frames));
        const sf_count_t read = sf_readf_short(sound, clip.samples.data(), info.frames);
        if (read != info.frames)
            problem = "it is cut short: " + std::to_string(read) + " of " + std::to_string(info.frames) + " samples";
    }
    sf_close(sound);
    if (!problem.empty())
        clip = SoundClip{};
    return problem;
}

} // namespace

Result<SoundClip> decode_sound(const uint8_t* bytes, size_t size, const std::string& name)
{
    SoundClip clip;
    const std::string problem = decode_problem(bytes, size, clip);
    if (!problem.empty())
        return Failure{name + ": " + problem + "; this sound stays silent."};
    return clip;
}

Result<SoundClip> read_sound_file(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::vector<uint8_t> bytes;
    if (in) {
        // One byte over the limit is enough to refuse it.
        in.seekg(0, std::ios::end);
        const auto length = static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0));
        in.seekg(0);
        bytes.resize(std::min(length, MAX_FILE_BYTES + 1));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    }
    if (!in && bytes.empty())
        return Failure{name + ": the file is missing or unreadable; this sound stays silent."};
    return decode_sound(bytes.data(), bytes.size(), name);
}
