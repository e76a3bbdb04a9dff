#include "sound/sound_stream.h"
#include "sound/sound_source.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdio>

#include <sys/stat.h>

namespace {

// Ten minutes at libvorbis's best quality, about 500 kbit/s, is 38 MB.
constexpr size_t MAX_PIECE_BYTES = 40u << 20;
// Where the three Vorbis headers must have ended: they are a few KiB.
constexpr sf_count_t HEADER_BYTES = 256 << 10;

// Why the first packet is not a Vorbis identification header that
// libvorbis takes, or "".
std::string identification_problem(const std::vector<uint8_t>& packet)
{
    if (packet.size() < 30 || packet[0] != 1 || std::memcmp(&packet[1], "vorbis", 6) != 0)
        return "its stream is not Vorbis: the game's music is Ogg Vorbis";
    const unsigned short_block = packet[28] & 0xF, long_block = packet[28] >> 4;
    if (little_endian_32(&packet[7]) != 0 || packet[11] == 0 || little_endian_32(&packet[12]) == 0 ||
        short_block < 6 || long_block < short_block || long_block > 13 || (packet[29] & 1) == 0)
        return "its Vorbis identification header is damaged";
    return "";
}

// libsndfile loses 6 KiB, the Vorbis decoder's setup, whenever a stream's
// three header packets fail it, and a player could make it fail over and
// over. So they are checked here first, at least as strictly as it and
// libvorbis check them: whole pages at the start, each with its checksum
// right, of one stream and in order, the first an identification header.
std::string ogg_header_problem(const std::vector<uint8_t>& bytes)
{
    constexpr size_t PAGE_HEADER = 27; // "OggS" to the segment count
    std::vector<uint8_t> first_packet;
    uint32_t serial = 0;
    int packets = 0;
    bool in_packet = false;
    for (size_t at = 0, page = 0; packets < 3; ++page) {
        const std::string where = "the page at byte " + std::to_string(at);
        if (bytes.size() - at < PAGE_HEADER || std::memcmp(&bytes[at], "OggS", 4) != 0)
            return page == 0 ? "it is not an Ogg file: the game's music is Ogg Vorbis"
                             : "its headers end at byte " + std::to_string(at) + ", cut short or damaged";
        const size_t segments = bytes[at + 26];
        size_t length = PAGE_HEADER + segments;
        for (size_t k = 0; k < segments && at + PAGE_HEADER + k < bytes.size(); ++k)
            length += bytes[at + PAGE_HEADER + k];
        if (bytes.size() - at < length)
            return where + " is cut short";
        const uint8_t flags = bytes[at + 5];
        if (bytes[at + 4] != 0 || ogg_page_checksum(&bytes[at], length) != little_endian_32(&bytes[at + 22]))
            return where + " is damaged";
        if (page == 0)
            serial = little_endian_32(&bytes[at + 14]);
        if (little_endian_32(&bytes[at + 14]) != serial || little_endian_32(&bytes[at + 18]) != page ||
            ((flags & 2) != 0) != (page == 0) || ((flags & 1) != 0) != in_packet)
            return where + " is out of its place: the music must be one Vorbis stream";
        // A lacing value under 255 ends a packet.
        for (size_t k = 0, body = at + PAGE_HEADER + segments; k < segments && packets < 3; ++k) {
            const uint8_t lacing = bytes[at + PAGE_HEADER + k];
            if (packets == 0)
                first_packet.insert(first_packet.end(), bytes.data() + body, bytes.data() + body + lacing);
            body += lacing;
            in_packet = lacing == 255;
            packets += in_packet ? 0 : 1;
        }
        at += length;
    }
    return identification_problem(first_packet);
}

// Why a decoded header cannot be a piece of the game's music, or "".
std::string format_problem(const SF_INFO& info)
{
    if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_OGG || (info.format & SF_FORMAT_SUBMASK) != SF_FORMAT_VORBIS)
        return "its stream is not Vorbis: the game's music is Ogg Vorbis";
    if (info.channels != 1 && info.channels != 2)
        return "it has " + std::to_string(info.channels) + " channels: music must be mono or stereo";
    if (info.samplerate != MUSIC_RATE)
        return "its rate of " + std::to_string(info.samplerate) + " samples a second is not " + std::to_string(MUSIC_RATE);
    // libsndfile's length of a stream whose last page it cannot find.
    if (info.frames == SF_COUNT_MAX)
        return "its length cannot be found: it is cut short or damaged";
    if (info.frames < 1)
        return "it holds no samples";
    if (static_cast<double>(info.frames) > MAX_MUSIC_SECONDS * MUSIC_RATE)
        return "it is longer than 10 minutes";
    return "";
}

Failure failure(const std::string& name, const std::string& problem)
{
    return Failure{name + ": " + problem + "; this piece stays silent."};
}

} // namespace

uint32_t ogg_page_checksum(const uint8_t* page, size_t length)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t k = 0; k < 256; ++k) {
            uint32_t value = k << 24;
            for (int bit = 0; bit < 8; ++bit)
                value = value & 0x80000000u ? value << 1 ^ 0x04C11DB7u : value << 1;
            entries[k] = value;
        }
        return entries;
    }();
    uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t byte = i >= 22 && i < 26 ? 0 : page[i];
        crc = crc << 8 ^ table[(crc >> 24 ^ byte) & 0xFF];
    }
    return crc;
}

struct SoundStream::Decoder {
    std::string name;
    SoundSource source;
    SNDFILE* sound = nullptr;
    SF_INFO info{};
    int64_t at = 0; // frames read since the start

    ~Decoder()
    {
        if (sound != nullptr)
            sf_close(sound);
    }
};

SoundStream::SoundStream(std::unique_ptr<Decoder> decoder) : decoder_(std::move(decoder)) {}
SoundStream::SoundStream(SoundStream&&) noexcept = default;
SoundStream& SoundStream::operator=(SoundStream&&) noexcept = default;
SoundStream::~SoundStream() = default;

Result<SoundStream> SoundStream::open_decoder(std::unique_ptr<Decoder> decoder, const std::vector<uint8_t>& start)
{
    const std::string& name = decoder->name;
    if (decoder->source.size > static_cast<sf_count_t>(MAX_PIECE_BYTES))
        return failure(name, "it is larger than 40 MiB");
    // Only an Ogg Vorbis file reaches the decoder: libsndfile reads dozens
    // of other types, each a way in for a hostile file.
    if (const std::string problem = ogg_header_problem(start); !problem.empty())
        return failure(name, problem);
    decoder->sound = open_sound_source(decoder->source, decoder->info);
    if (decoder->sound == nullptr)
        return failure(name, std::string("the decoder says: ") + sf_strerror(nullptr));
    if (const std::string problem = format_problem(decoder->info); !problem.empty())
        return failure(name, problem);
    return SoundStream(std::move(decoder));
}

Result<SoundStream> SoundStream::open_bytes(std::vector<uint8_t> bytes, const std::string& name)
{
    auto decoder = std::make_unique<Decoder>();
    decoder->name = name;
    decoder->source.bytes = std::move(bytes);
    decoder->source.size = static_cast<sf_count_t>(decoder->source.bytes.size());
    const std::vector<uint8_t>& start = decoder->source.bytes;
    return open_decoder(std::move(decoder), start);
}

Result<SoundStream> SoundStream::open_file(const std::string& name)
{
    auto decoder = std::make_unique<Decoder>();
    decoder->name = name;
    SoundSource& source = decoder->source;
    source.file = std::fopen(name.c_str(), "rb");
    struct stat status {};
    if (source.file == nullptr || fstat(fileno(source.file), &status) != 0)
        return failure(name, "the file is missing or unreadable");
    // Never a pipe or a device, which could be read for ever.
    if (!S_ISREG(status.st_mode))
        return failure(name, "it is not a file");
    source.size = status.st_size;
    std::vector<uint8_t> start(static_cast<size_t>(std::min<sf_count_t>(source.size, HEADER_BYTES)));
    start.resize(std::fread(start.data(), 1, start.size(), source.file));
    std::rewind(source.file);
    return open_decoder(std::move(decoder), start);
}

int32_t SoundStream::channels() const
{
    return decoder_->info.channels;
}

int32_t SoundStream::rate() const
{
    return decoder_->info.samplerate;
}

int64_t SoundStream::frames() const
{
    return decoder_->info.frames;
}

double SoundStream::seconds() const
{
    return static_cast<double>(frames()) / rate();
}

Result<size_t> SoundStream::read(int16_t* out, size_t frames)
{
    Decoder& decoder = *decoder_;
    const sf_count_t wanted = std::min<sf_count_t>(static_cast<sf_count_t>(frames), decoder.info.frames - decoder.at);
    if (wanted <= 0)
        return size_t{0};
    const sf_count_t read = std::max<sf_count_t>(sf_readf_short(decoder.sound, out, wanted), 0);
    decoder.at += read;
    if (read < wanted)
        return failure(decoder.name, "it is cut short: it ends " + std::to_string(decoder.at) + " samples in, not " +
                                         std::to_string(decoder.info.frames));
    return static_cast<size_t>(read);
}

Result<> SoundStream::rewind()
{
    if (sf_seek(decoder_->sound, 0, SEEK_SET) != 0)
        return failure(decoder_->name, std::string("it cannot go back to its start: ") + sf_strerror(decoder_->sound));
    decoder_->at = 0;
    return Done{};
}
