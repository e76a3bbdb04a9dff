#include "render/mip_chain.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int CHANNELS = 4;
constexpr int ALPHA = 3;

float decode(uint8_t srgb)
{
    const float c = static_cast<float>(srgb) / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

const std::array<float, 256>& linear_of()
{
    static const std::array<float, 256> table = [] {
        std::array<float, 256> values{};
        for (int i = 0; i < 256; ++i)
            values[static_cast<size_t>(i)] = decode(static_cast<uint8_t>(i));
        return values;
    }();
    return table;
}

// Linear light to sRGB bytes by table: steps fine enough that even the
// steepest part of the curve, near black, moves under a quarter of a byte.
constexpr int ENCODE_STEPS = 16384;

uint8_t encode_exactly(float linear)
{
    const float c = linear <= 0.0031308f ? linear * 12.92f : 1.055f * std::pow(linear, 1.0f / 2.4f) - 0.055f;
    return static_cast<uint8_t>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f));
}

uint8_t encode(float linear)
{
    static const std::vector<uint8_t> table = [] {
        std::vector<uint8_t> values(ENCODE_STEPS + 1);
        for (int i = 0; i <= ENCODE_STEPS; ++i)
            values[static_cast<size_t>(i)] = encode_exactly(static_cast<float>(i) / ENCODE_STEPS);
        return values;
    }();
    return table[static_cast<size_t>(std::lround(std::clamp(linear, 0.0f, 1.0f) * ENCODE_STEPS))];
}

uint8_t linear_byte(uint8_t srgb)
{
    return static_cast<uint8_t>(std::lround(linear_of()[srgb] * 255.0f));
}

// Which sRGB bytes come back within one step from their linear byte.
const std::array<bool, 256>& survives_linear_byte()
{
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> values{};
        for (int i = 0; i < 256; ++i) {
            const uint8_t srgb = static_cast<uint8_t>(i);
            const int back = encode_exactly(static_cast<float>(linear_byte(srgb)) / 255.0f);
            values[static_cast<size_t>(i)] = std::abs(back - i) <= 1;
        }
        return values;
    }();
    return table;
}

} // namespace

bool keeps_look_in_linear_bytes(const MipLevel& level)
{
    const std::array<bool, 256>& survives = survives_linear_byte();
    for (size_t i = 0; i < level.texels.size(); ++i)
        if (i % CHANNELS != ALPHA && !survives[level.texels[i]])
            return false;
    return true;
}

void to_linear_bytes(MipLevel& level)
{
    for (size_t i = 0; i < level.texels.size(); ++i)
        if (i % CHANNELS != ALPHA)
            level.texels[i] = linear_byte(level.texels[i]);
}

MipLevel half_level(const MipLevel& above)
{
    const std::array<float, 256>& linear = linear_of();
    MipLevel below;
    below.width = std::max(1u, above.width / 2);
    below.height = std::max(1u, above.height / 2);
    below.texels.resize(size_t{below.width} * below.height * CHANNELS);
    for (unsigned y = 0; y < below.height; ++y) {
        const unsigned rows[2] = {std::min(2 * y, above.height - 1), std::min(2 * y + 1, above.height - 1)};
        for (unsigned x = 0; x < below.width; ++x) {
            const unsigned columns[2] = {std::min(2 * x, above.width - 1), std::min(2 * x + 1, above.width - 1)};
            uint8_t* out = &below.texels[(size_t{y} * below.width + x) * CHANNELS];
            for (int channel = 0; channel < CHANNELS; ++channel) {
                float sum = 0.0f;
                for (const unsigned row : rows)
                    for (const unsigned column : columns) {
                        const uint8_t value = above.texels[(size_t{row} * above.width + column) * CHANNELS + channel];
                        sum += channel == ALPHA ? static_cast<float>(value) : linear[value];
                    }
                out[channel] = channel == ALPHA ? static_cast<uint8_t>(std::lround(sum / 4.0f)) : encode(sum / 4.0f);
            }
        }
    }
    return below;
}
