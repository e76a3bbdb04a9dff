#include "mastering.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr double PI = 3.14159265358979323846;

constexpr double FADE_IN = 0.002;          // s
constexpr double FADE_OUT = 0.015;         // s, ending where the silence starts
constexpr double TRAILING_SILENCE = 0.010; // s
constexpr double ONSET_TIME = 0.010;       // s
constexpr double ONSET_SHARE = 0.25;       // of the peak, reached within ONSET_TIME
constexpr double FULL_SCALE = 32767.0;

size_t samples_in(double seconds)
{
    return static_cast<size_t>(std::lround(seconds * SAMPLE_RATE));
}

// Raised-cosine fades at both ends, then nothing.
std::vector<double> window(size_t length)
{
    const size_t fade_in = samples_in(FADE_IN);
    const size_t fade_out = samples_in(FADE_OUT);
    const size_t silent = samples_in(TRAILING_SILENCE);
    std::vector<double> weights(length, 1.0);
    for (size_t i = 0; i < length; ++i) {
        if (i < fade_in)
            weights[i] = 0.5 - 0.5 * std::cos(PI * static_cast<double>(i) / fade_in);
        const size_t to_end = length - i;
        if (to_end <= silent)
            weights[i] = 0.0;
        else if (to_end <= silent + fade_out)
            weights[i] *=
                0.5 - 0.5 * std::cos(PI * static_cast<double>(to_end - silent) / fade_out);
    }
    return weights;
}

double loudest(const std::vector<double>& samples, size_t count)
{
    double peak = 0.0;
    for (size_t i = 0; i < std::min(count, samples.size()); ++i)
        peak = std::max(peak, std::abs(samples[i]));
    return peak;
}

} // namespace

std::vector<int16_t> master(const Samples& sound, double peak_dbfs, const std::string& name)
{
    if (sound.size() <= samples_in(FADE_IN + FADE_OUT + TRAILING_SILENCE))
        throw std::logic_error(name + " is too short to fade in and out");
    for (const double sample : sound)
        if (!std::isfinite(sample))
            throw std::logic_error(name + " has a sample that is not a number");

    // Taking the offset out under the window leaves the windowed sound's
    // mean at zero and both of its ends at zero.
    const std::vector<double> weights = window(sound.size());
    double weighted_sum = 0.0;
    double weight_sum = 0.0;
    for (size_t i = 0; i < sound.size(); ++i) {
        weighted_sum += sound[i] * weights[i];
        weight_sum += weights[i];
    }
    const double offset = weighted_sum / weight_sum;
    std::vector<double> shaped(sound.size());
    for (size_t i = 0; i < sound.size(); ++i)
        shaped[i] = (sound[i] - offset) * weights[i];

    const double peak = loudest(shaped, shaped.size());
    if (peak == 0.0)
        throw std::logic_error(name + " is silent");
    if (loudest(shaped, samples_in(ONSET_TIME)) < ONSET_SHARE * peak)
        throw std::logic_error(name + " is not loud yet " +
                               std::to_string(std::lround(ONSET_TIME * 1000.0)) +
                               " ms in; it would be late to its moment");

    const double gain = std::pow(10.0, peak_dbfs / 20.0) / peak;
    std::vector<int16_t> samples(shaped.size());
    for (size_t i = 0; i < shaped.size(); ++i)
        samples[i] = static_cast<int16_t>(
            std::lround(std::clamp(shaped[i] * gain, -1.0, 1.0) * FULL_SCALE));
    return samples;
}
