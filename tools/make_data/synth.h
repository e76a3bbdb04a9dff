// What the game's sounds are made of: envelopes, oscillators, noise and
// filters. Everything is in double and every random choice comes from a
// seeded Random, so a sound comes out the same on every run.
#pragma once

#include "random.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int SAMPLE_RATE = 44100; // samples per second

using Samples = std::vector<double>;

// A silent sound `seconds` long, for voices to be added into.
Samples silence(double seconds);

// The time of sample `index`, in seconds.
double seconds_at(size_t index);

// 0 before t = 0, a rise over `attack` seconds shaped like a quarter sine so
// the start does not click, then a fall by a factor e every `decay` seconds.
double attack_decay(double t, double attack, double decay);

// A glide from `from` to `to` over `duration` seconds at an even number of
// octaves per second, holding `to` after.
double glide(double from, double to, double t, double duration);

// A sine oscillator that keeps its phase as its frequency changes, so
// sweeps run smoothly.
class Oscillator {
public:
    // The next sample at `frequency` Hz, its phase pushed by `shift` cycles.
    double next(double frequency, double shift = 0.0);

private:
    double phase = 0.0; // in cycles, kept in [0, 1) so it never loses precision
};

// Two-operator FM: a sine carrier whose phase a sine modulator at `ratio`
// times its frequency pushes back and forth by up to `index` radians. Small
// indices stay close to a sine; 1 to 2 at a ratio of 3.5 ring like glass.
class FmVoice {
public:
    double next(double frequency, double ratio, double index);

private:
    Oscillator carrier;
    Oscillator modulator;
};

// White noise in [-1, 1).
class Noise {
public:
    explicit Noise(uint64_t seed) : random(seed) {}
    double next();

private:
    Random random;
};

// A one-pole low-pass: 6 dB per octave above the cutoff, a gentle dulling.
class OnePoleLowPass {
public:
    double next(double input, double cutoff);

private:
    double state = 0.0;
};

// A two-pole filter whose cutoff or centre may move every sample, for sweeps.
class Biquad {
public:
    double low_pass(double input, double cutoff, double q);
    // Unit gain at the centre; q is the centre over the bandwidth.
    double band_pass(double input, double centre, double q);

private:
    double filter(double input, double b0, double b1, double b2, double a0, double a1, double a2);
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};

// A struck note of glass: an FM voice at a fixed pitch whose brightness
// fades faster than its loudness, as a struck glass's does.
struct Chime {
    double onset;              // s from the start of the sound
    double frequency;          // Hz
    double gain;               // at the strike
    double decay;              // s for the loudness to fall by e
    double ratio = 3.5;        // modulator : carrier
    double index = 1.2;        // FM depth at the strike, radians
    double index_decay = 0.05; // s for the depth to fall by e
    double detune_cents = 0.0; // a second voice this far above beats against the first
    double attack = 0.003;     // s
};

// Adds `chime` into `sound`, cut off at the sound's end.
void add_chime(Samples& sound, const Chime& chime);
