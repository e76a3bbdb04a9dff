// The ship's flight: launched, stopped by a cube, carried through a beamer,
// and lost out of the grid.
#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;

} // namespace

// A breath of air that climbs as the ship gathers speed, over a low push.
Samples make_launch()
{
    Samples sound = silence(0.36);
    Noise noise(0x1A0C4);
    Biquad band;
    Biquad soften;
    Oscillator push;
    FmVoice glint;
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds_at(i);
        const double centre = glide(350.0, 2400.0, t, 0.30);
        const double breath = std::sin(PI * std::min(t / 0.34, 1.0));
        const double air =
            soften.low_pass(band.band_pass(noise.next(), centre, 1.6), 3000.0, 0.7) * breath;
        const double thrust =
            push.next(glide(110.0, 220.0, t, 0.15)) * attack_decay(t, 0.003, 0.07);
        const double shine =
            glint.next(glide(520.0, 1040.0, t, 0.30), 3.5, 0.5) * attack_decay(t, 0.004, 0.12);
        sound[i] = 2.2 * air + 0.5 * thrust + 0.12 * shine;
    }
    return sound;
}

// A glass knock: a short bell over a low thud and the tap of the contact.
Samples make_stop()
{
    Samples sound = silence(0.30);
    // onset, Hz, gain, decay, ratio, index, index decay, detune
    add_chime(sound, {0.0, 620.0, 0.55, 0.07, 3.5, 1.6, 0.025, 4.0});
    Noise noise(0x5707);
    Biquad dull;
    Oscillator low;
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds_at(i);
        const double thud = low.next(glide(150.0, 70.0, t, 0.08)) * attack_decay(t, 0.002, 0.045);
        const double tap = dull.low_pass(noise.next(), 1200.0, 0.7) * attack_decay(t, 0.001, 0.008);
        sound[i] += 0.45 * thud + 0.5 * tap;
    }
    return sound;
}

// A ping as the ship enters, then a shimmering climb strewn with sparks.
// The game plays it again at 1.5 times the pitch at the far beamer, so
// nothing in it is bright enough to turn shrill up there.
Samples make_beam()
{
    constexpr double LENGTH = 0.50;
    constexpr int SPARKS = 7;
    constexpr double DETUNE_CENTS[] = {-7.0, 0.0, 7.0}; // the choir's three voices
    Samples sound = silence(LENGTH);
    // onset, Hz, gain, decay, ratio, index, index decay, detune
    add_chime(sound, {0.0, 660.0, 0.45, 0.08, 3.5, 1.0, 0.03, 5.0});
    Random sparks(0xBEA3);
    for (int spark = 0; spark < SPARKS; ++spark) {
        const double onset = 0.05 + 0.045 * spark + sparks.range(0.0f, 0.02f);
        const double pitch = glide(880.0, 1500.0, onset, 0.35) * sparks.range(0.97f, 1.03f);
        add_chime(sound, {onset, pitch, 0.07, 0.04, 3.5, 0.4, 0.02});
    }
    FmVoice voices[3];
    OnePoleLowPass soften;
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds_at(i);
        const double pitch = glide(330.0, 990.0, t, 0.45);
        const double sparkle = 0.5 + 0.4 * std::sin(2.0 * PI * 9.0 * t);
        double choir = 0.0;
        for (int v = 0; v < 3; ++v)
            choir += voices[v].next(pitch * std::pow(2.0, DETUNE_CENTS[v] / 1200.0), 2.0, sparkle);
        choir /= 3.0;
        const double swell = std::sin(PI * std::min(t / (LENGTH - 0.02), 1.0));
        sound[i] += 0.5 * soften.next(choir, 2500.0) * swell;
    }
    return sound;
}

// A soft fall, a tone and a breath of air sinking together.
Samples make_restart()
{
    Samples sound = silence(0.50);
    Noise noise(0x4E57);
    Biquad band;
    Biquad dull;
    FmVoice tone;
    FmVoice beating;
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds_at(i);
        const double pitch = glide(880.0, 165.0, t, 0.45);
        const double envelope = attack_decay(t, 0.004, 0.16);
        const double voice = 0.5 * (tone.next(pitch, 2.0, 0.5) +
                                    beating.next(pitch * 1.006, 2.0, 0.5));
        const double air = dull.low_pass(
            band.band_pass(noise.next(), glide(1800.0, 300.0, t, 0.45), 1.2), 2500.0, 0.7);
        sound[i] = envelope * (0.6 * voice + 1.0 * air);
    }
    return sound;
}
