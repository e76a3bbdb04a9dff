#include "ogg_writer.h"
#include "sound/sound_stream.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <mutex>
#include <stdexcept>

namespace {

// libvorbis fails on a very long buffer handed over at once; the encoder
// takes it in pieces anyway.
constexpr sf_count_t FRAMES_A_WRITE = 4096;
constexpr uint32_t STREAM_SERIAL = 0x4B524954; // "TIRK" in the file

// libsndfile writes through these into memory, so the pages can be mended
// before the file is written.
struct MemoryFile {
    std::vector<uint8_t> bytes;
    sf_count_t at = 0;
};

sf_count_t memory_length(void* data)
{
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(data)->bytes.size());
}

sf_count_t memory_seek(sf_count_t offset, int whence, void* data)
{
    MemoryFile& file = *static_cast<MemoryFile*>(data);
    const auto size = static_cast<sf_count_t>(file.bytes.size());
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.at : size;
    file.at = std::clamp<sf_count_t>(base + offset, 0, size);
    return file.at;
}

sf_count_t memory_read(void* out, sf_count_t count, void* data)
{
    MemoryFile& file = *static_cast<MemoryFile*>(data);
    const auto size = static_cast<sf_count_t>(file.bytes.size());
    const sf_count_t taken = std::clamp<sf_count_t>(count, 0, size - file.at);
    std::memcpy(out, file.bytes.data() + file.at, static_cast<size_t>(taken));
    file.at += taken;
    return taken;
}

sf_count_t memory_write(const void* in, sf_count_t count, void* data)
{
    MemoryFile& file = *static_cast<MemoryFile*>(data);
    const auto end = static_cast<size_t>(file.at + count);
    if (end > file.bytes.size())
        file.bytes.resize(end);
    std::memcpy(file.bytes.data() + file.at, in, static_cast<size_t>(count));
    file.at += count;
    return count;
}

sf_count_t memory_tell(void* data)
{
    return static_cast<MemoryFile*>(data)->at;
}


void put_u32(uint8_t* at, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        at[k] = static_cast<uint8_t>(value >> (8 * k));
}

// libsndfile numbers each Ogg stream it writes from the clock, so every
// page of two runs' files would differ. The number only has to tell the
// streams of one file apart, and ours have one: every page gets the same
// constant, and its checksum again.
void set_stream_serial(std::vector<uint8_t>& bytes, const std::string& path)
{
    constexpr size_t HEADER = 27; // "OggS" to the segment count
    for (size_t at = 0; at < bytes.size();) {
        if (bytes.size() - at < HEADER || std::memcmp(&bytes[at], "OggS", 4) != 0)
            throw std::runtime_error(path + ": the encoder wrote something that is not an Ogg page at byte " +
                                     std::to_string(at));
        const size_t segments = bytes[at + 26];
        if (bytes.size() - at < HEADER + segments)
            throw std::runtime_error(path + ": the encoder's last page is cut short");
        size_t length = HEADER + segments;
        for (size_t k = 0; k < segments; ++k)
            length += bytes[at + HEADER + k];
        if (bytes.size() - at < length)
            throw std::runtime_error(path + ": the encoder's last page is cut short");
        put_u32(&bytes[at + 14], STREAM_SERIAL);
        put_u32(&bytes[at + 22], ogg_page_checksum(&bytes[at], length));
        at += length;
    }
}

std::vector<uint8_t> encode(const std::vector<float>& samples, int channels, int rate, double quality,
                            const std::string& path)
{
    MemoryFile file;
    SF_VIRTUAL_IO io{memory_length, memory_seek, memory_read, memory_write, memory_tell};
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE* sound = nullptr;
    {
        // Opening draws the serial from a generator without a lock.
        static std::mutex opening;
        const std::lock_guard<std::mutex> lock(opening);
        sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
    }
    if (sound == nullptr)
        throw std::runtime_error(path + ": libsndfile cannot write Ogg Vorbis here");
    sf_command(sound, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    const auto frames = static_cast<sf_count_t>(samples.size() / static_cast<size_t>(channels));
    for (sf_count_t first = 0; first < frames; first += FRAMES_A_WRITE) {
        const sf_count_t count = std::min(FRAMES_A_WRITE, frames - first);
        if (sf_writef_float(sound, samples.data() + first * channels, count) != count) {
            const std::string problem = sf_strerror(sound);
            sf_close(sound);
            throw std::runtime_error(path + ": the encoder says: " + problem);
        }
    }
    if (sf_close(sound) != 0)
        throw std::runtime_error(path + ": the encoder could not finish the file");
    return std::move(file.bytes);
}

} // namespace

void save_ogg_vorbis(const std::vector<float>& samples, int channels, int rate, double quality,
                     const std::string& path)
{
    std::vector<uint8_t> bytes = encode(samples, channels, rate, quality, path);
    set_stream_serial(bytes, path);
    std::ofstream out(path, std::ios::binary);
    if (!out)
        throw std::runtime_error(path + ": cannot open for writing");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out)
        throw std::runtime_error(path + ": cannot write");
}
