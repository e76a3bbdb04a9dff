#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;

// Above this a filter's coefficients stop making sense.
constexpr double HIGHEST_FREQUENCY = 0.45 * SAMPLE_RATE;

double clamp_frequency(double frequency)
{
    return std::clamp(frequency, 1.0, HIGHEST_FREQUENCY);
}

} // namespace

Samples silence(double seconds)
{
    return Samples(static_cast<size_t>(std::lround(seconds * SAMPLE_RATE)), 0.0);
}

double seconds_at(size_t index)
{
    return static_cast<double>(index) / SAMPLE_RATE;
}

double attack_decay(double t, double attack, double decay)
{
    if (t < 0.0)
        return 0.0;
    if (t < attack)
        return std::sin(0.5 * PI * t / attack);
    return std::exp(-(t - attack) / decay);
}

double glide(double from, double to, double t, double duration)
{
    const double progress = std::clamp(t / duration, 0.0, 1.0);
    return from * std::pow(to / from, progress);
}

double Oscillator::next(double frequency, double shift)
{
    const double value = std::sin(2.0 * PI * (phase + shift));
    phase += frequency / SAMPLE_RATE;
    phase -= std::floor(phase);
    return value;
}

double FmVoice::next(double frequency, double ratio, double index)
{
    const double push = index * modulator.next(frequency * ratio) / (2.0 * PI);
    return carrier.next(frequency, push);
}

double Noise::next()
{
    return 2.0 * static_cast<double>(random.uniform()) - 1.0;
}

double OnePoleLowPass::next(double input, double cutoff)
{
    const double share = 1.0 - std::exp(-2.0 * PI * clamp_frequency(cutoff) / SAMPLE_RATE);
    state += share * (input - state);
    return state;
}

// The low-pass and band-pass of Robert Bristow-Johnson's "Audio EQ Cookbook".
double Biquad::low_pass(double input, double cutoff, double q)
{
    const double w = 2.0 * PI * clamp_frequency(cutoff) / SAMPLE_RATE;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return filter(input, (1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c,
                  1.0 - alpha);
}

double Biquad::band_pass(double input, double centre, double q)
{
    const double w = 2.0 * PI * clamp_frequency(centre) / SAMPLE_RATE;
    const double alpha = std::sin(w) / (2.0 * q);
    return filter(input, alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * std::cos(w), 1.0 - alpha);
}

double Biquad::filter(double input, double b0, double b1, double b2, double a0, double a1,
                      double a2)
{
    const double output = (b0 * input + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
    x2 = x1;
    x1 = input;
    y2 = y1;
    y1 = output;
    return output;
}

void add_chime(Samples& sound, const Chime& chime)
{
    const double detuned = chime.frequency * std::pow(2.0, chime.detune_cents / 1200.0);
    const double voices = chime.detune_cents == 0.0 ? 1.0 : 2.0;
    FmVoice voice;
    FmVoice beating;
    const size_t first = static_cast<size_t>(std::lround(chime.onset * SAMPLE_RATE));
    for (size_t i = first; i < sound.size(); ++i) {
        const double t = seconds_at(i - first);
        const double index = chime.index * std::exp(-t / chime.index_decay);
        double value = voice.next(chime.frequency, chime.ratio, index);
        if (voices > 1.0)
            value += beating.next(detuned, chime.ratio, index);
        sound[i] += chime.gain / voices * attack_decay(t, chime.attack, chime.decay) * value;
    }
}
