#include "wav_writer.h"

#include <fstream>
#include <limits>
#include <stdexcept>

namespace {

constexpr uint16_t PCM_FORMAT = 1;
constexpr uint16_t CHANNELS = 1;
constexpr uint16_t BYTES_PER_SAMPLE = 2;
constexpr uint32_t FMT_CHUNK_SIZE = 16;
// "WAVE", then the fmt chunk and the data chunk's own 8-byte headers.
constexpr uint32_t RIFF_OVERHEAD = 4 + (8 + FMT_CHUNK_SIZE) + 8;

// Byte by byte, so the file is little-endian whatever the machine is.
void put_u16(std::string& bytes, uint16_t value)
{
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

void put_u32(std::string& bytes, uint32_t value)
{
    put_u16(bytes, static_cast<uint16_t>(value & 0xFFFF));
    put_u16(bytes, static_cast<uint16_t>(value >> 16));
}

} // namespace

void save_wav(const std::vector<int16_t>& samples, int sample_rate, const std::string& path)
{
    if (samples.size() > (std::numeric_limits<uint32_t>::max() - RIFF_OVERHEAD) / BYTES_PER_SAMPLE)
        throw std::runtime_error(path + ": too many samples for a WAV file");
    const uint32_t data_size = static_cast<uint32_t>(samples.size()) * BYTES_PER_SAMPLE;

    std::string bytes = "RIFF";
    put_u32(bytes, RIFF_OVERHEAD + data_size);
    bytes += "WAVEfmt ";
    put_u32(bytes, FMT_CHUNK_SIZE);
    put_u16(bytes, PCM_FORMAT);
    put_u16(bytes, CHANNELS);
    put_u32(bytes, static_cast<uint32_t>(sample_rate));
    put_u32(bytes, static_cast<uint32_t>(sample_rate) * CHANNELS * BYTES_PER_SAMPLE);
    put_u16(bytes, CHANNELS * BYTES_PER_SAMPLE);
    put_u16(bytes, 8 * BYTES_PER_SAMPLE);
    bytes += "data";
    put_u32(bytes, data_size);
    for (const int16_t sample : samples)
        put_u16(bytes, static_cast<uint16_t>(sample));

    std::ofstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error(path + ": cannot open for writing");
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.flush();
    if (!file)
        throw std::runtime_error(path + ": cannot write");
}
