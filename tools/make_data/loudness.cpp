#include "loudness.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr size_t STEP = SAMPLE_RATE / 10;  // 100 ms: blocks overlap by three quarters
constexpr size_t STEPS_A_BLOCK = 4;        // 400 ms
constexpr double ABSOLUTE_GATE = -70.0;    // LUFS
constexpr double RELATIVE_GATE = -10.0;    // LU under the mean of the blocks over the absolute gate

// The K-weighting's two stages, designed for any rate from the standard's
// analogue prototypes: a shelf of +4 dB above about 1.7 kHz, for the head,
// then a high-pass at 38 Hz.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;

    double next(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

Biquad head_shelf()
{
    const double k = std::tan(PI * 1681.974450955533 / SAMPLE_RATE);
    const double q = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad low_cut()
{
    const double k = std::tan(PI * 38.13547087602444 / SAMPLE_RATE);
    const double q = 0.5003270373238773;
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// The K-weighted energy of each 100 ms step, summed over the channels.
std::vector<double> step_energies(const Samples& left, const Samples& right)
{
    std::vector<double> energies(left.size() / STEP, 0.0);
    for (const Samples* channel : {&left, &right}) {
        Biquad shelf = head_shelf();
        Biquad cut = low_cut();
        for (size_t i = 0; i < energies.size() * STEP; ++i) {
            const double weighted = cut.next(shelf.next((*channel)[i]));
            energies[i / STEP] += weighted * weighted;
        }
    }
    return energies;
}

double lufs(double mean_square)
{
    return -0.691 + 10.0 * std::log10(mean_square);
}

} // namespace

double integrated_loudness(const Samples& left, const Samples& right)
{
    const std::vector<double> steps = step_energies(left, right);
    std::vector<double> blocks;
    for (size_t first = 0; first + STEPS_A_BLOCK <= steps.size(); ++first) {
        double energy = 0.0;
        for (size_t k = first; k < first + STEPS_A_BLOCK; ++k)
            energy += steps[k];
        blocks.push_back(energy / (STEPS_A_BLOCK * STEP));
    }
    const auto gated_mean = [&](double gate) {
        double sum = 0.0;
        size_t count = 0;
        for (const double block : blocks)
            if (lufs(block) > gate) {
                sum += block;
                ++count;
            }
        return count == 0 ? 0.0 : sum / static_cast<double>(count);
    };
    const double ungated = gated_mean(ABSOLUTE_GATE);
    if (ungated == 0.0)
        return -std::numeric_limits<double>::infinity();
    return lufs(gated_mean(lufs(ungated) + RELATIVE_GATE));
}
