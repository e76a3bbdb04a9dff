// The three pieces. Each has a key and a colour of its own, a chord every
// nine to twelve seconds, and bells few enough to think over.
#include "music.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct BellSound {
    double gain;
    double decay; // s for the loudness to fall by e, at the lowest note; higher bells die sooner
    double ratio;
    double index;
    double index_decay;
};

// The tones of `chord` in every octave from `lowest` to `highest`, low to high.
std::vector<int> tones_between(const Chord& chord, int lowest, int highest)
{
    std::vector<int> tones;
    for (const int note : chord)
        for (int tone = note % 12; tone <= highest; tone += 12)
            if (tone >= lowest && std::find(tones.begin(), tones.end(), tone) == tones.end())
                tones.push_back(tone);
    std::sort(tones.begin(), tones.end());
    return tones;
}

void strike(Stereo& loop, double onset, int note, int lowest, const BellSound& sound, double gain, double pan)
{
    const double frequency = note_hz(note);
    add_bell(loop, {onset, frequency, gain, pan, sound.decay * std::sqrt(note_hz(lowest) / frequency),
                    sound.ratio, sound.index, sound.index_decay});
}

// A slow tune of bells over the chords: up to `per_chord` a chord, at
// seeded times spread through it, each a tone of its chord a small step
// from the one before, so that the line wanders rather than leaps.
struct BellLine {
    int per_chord;
    double rest; // the chance of each bell being left out
    int lowest;  // MIDI
    int highest;
    BellSound sound;
    uint64_t seed;
};

void add_bell_line(Stereo& loop, const std::vector<Chord>& chords, const BellLine& line)
{
    Random random(line.seed);
    const double chord_seconds = seconds_at(loop.left.size()) / static_cast<double>(chords.size());
    const double gap = chord_seconds / line.per_chord;
    int last = (line.lowest + line.highest) / 2;
    for (size_t chord = 0; chord < chords.size(); ++chord) {
        const std::vector<int> tones = tones_between(chords[chord], line.lowest, line.highest);
        for (int k = 0; k < line.per_chord; ++k) {
            const double onset = static_cast<double>(chord) * chord_seconds + (k + random.range(0.1f, 0.6f)) * gap;
            const bool rests = random.uniform() < line.rest;
            const int aim = last + static_cast<int>(std::lround(random.range(-6.0f, 6.0f)));
            const double gain = line.sound.gain * random.range(0.6f, 1.0f);
            const double pan = random.range(-0.6f, 0.6f);
            if (rests)
                continue;
            int best = tones.front();
            for (const int tone : tones)
                if (tone != last && (best == last || std::abs(tone - aim) < std::abs(best - aim)))
                    best = tone;
            last = best;
            strike(loop, onset, best, line.lowest, line.sound, gain, pan);
        }
    }
}

// Drift, for the first levels: D major with the raised fourth of the
// Lydian mode for its lift, open and light, a chord every 9 s.
const std::vector<Chord> DRIFT_CHORDS = {
    {50, 57, 64, 66, 73}, // Dmaj9
    {47, 54, 62, 64, 69}, // Bm11
    {43, 50, 59, 66, 73}, // Gmaj7#11
    {40, 47, 55, 62, 66}, // Em9
    {43, 50, 57, 59, 66}, // Gmaj9
    {45, 52, 57, 59, 64}, // Asus2
    {47, 54, 57, 61, 66}, // Bm9
    {45, 52, 57, 62, 64}, // Asus4
    {42, 50, 57, 64, 69}, // Dmaj9 over F#
    {43, 50, 59, 61, 66}, // Gmaj7#11
    {40, 47, 54, 57, 62}, // Em11
    {45, 52, 54, 61, 64}, // A6
    {47, 54, 57, 62, 66}, // Bm7
    {43, 50, 59, 62, 69}, // Gadd9
    {40, 47, 55, 62, 66}, // Em9
    {45, 52, 57, 59, 64}, // Asus2, back to the start
};

// Lattice, for the middle levels: C sharp Dorian, cooler, its bells an even
// figure through each chord, a chord every 10 s.
const std::vector<Chord> LATTICE_CHORDS = {
    {49, 56, 63, 64, 71}, // C#m9
    {42, 52, 58, 61, 68}, // F#9
    {45, 52, 56, 61, 64}, // Amaj7
    {40, 47, 54, 56, 61}, // E6/9
    {47, 54, 59, 61, 66}, // Bsus2
    {44, 51, 54, 59, 63}, // G#m7
    {49, 56, 59, 63, 68}, // C#m7 add9
    {45, 52, 59, 61, 68}, // Amaj9
    {42, 49, 57, 59, 64}, // F#m11
    {40, 47, 56, 63, 66}, // Emaj9
    {47, 54, 56, 61, 63}, // B6/9
    {42, 49, 56, 59, 64}, // F#9sus4
    {44, 51, 54, 58, 63}, // G#m9
    {49, 54, 59, 61, 66}, // C#7sus4, back to the start
};

// Summit, for the last levels and the players' own: B flat minor over a
// low drone, slow, wide and still, a chord every 12 s.
const std::vector<Chord> SUMMIT_CHORDS = {
    {46, 53, 61, 65, 72}, // Bbm add9
    {42, 49, 58, 61, 65}, // Gbmaj7
    {49, 56, 60, 63, 65}, // Dbmaj9
    {39, 46, 54, 58, 65}, // Ebm9
    {42, 49, 56, 58, 65}, // Gbmaj9
    {41, 48, 56, 60, 63}, // Fm7
    {46, 53, 56, 61, 72}, // Bbm9
    {39, 46, 54, 56, 61}, // Ebm11
    {44, 51, 56, 58, 63}, // Absus2
    {41, 49, 56, 60, 65}, // Dbmaj7 over F
    {42, 49, 58, 60, 65}, // Gbmaj7#11
    {41, 48, 53, 58, 60}, // Fsus4, back to the start
};

// A lattice of bells: an even pulse tracing each chord's tones up and down
// in one figure, some pulses left out, each answered by a quieter echo
// from the other side half a pulse later.
void add_lattice_bells(Stereo& loop, const std::vector<Chord>& chords, uint64_t seed)
{
    constexpr int PULSES = 6; // a chord
    constexpr int FIGURE[PULSES] = {0, 2, 1, 3, 2, 4};
    constexpr int LOWEST = 68, HIGHEST = 86;
    constexpr double REST = 0.35;
    const BellSound sound = {0.12, 2.2, 2.0, 1.1, 0.25};
    constexpr double ECHO = 0.35; // of the bell it answers
    Random random(seed);
    const double chord_seconds = seconds_at(loop.left.size()) / static_cast<double>(chords.size());
    const double pulse = chord_seconds / PULSES;
    Stereo bells = silent_loop(seconds_at(loop.left.size()));
    for (size_t chord = 0; chord < chords.size(); ++chord) {
        const std::vector<int> tones = tones_between(chords[chord], LOWEST, HIGHEST);
        for (int k = 0; k < PULSES; ++k) {
            const bool rests = random.uniform() < REST;
            const double gain = sound.gain * random.range(0.7f, 1.0f);
            const double pan = random.range(-0.7f, 0.7f);
            if (rests)
                continue;
            const size_t step = static_cast<size_t>(FIGURE[(k + chord) % PULSES]) + chord % 3;
            const int note = tones[std::min(step, tones.size() - 1)];
            const double onset = static_cast<double>(chord) * chord_seconds + (k + 0.25) * pulse;
            strike(bells, onset, note, LOWEST, sound, gain, pan);
        }
    }
    const size_t size = loop.left.size();
    const auto echo_delay = static_cast<size_t>(std::lround(0.5 * pulse * SAMPLE_RATE));
    for (size_t i = 0; i < size; ++i) {
        const size_t heard = (i + size - echo_delay) % size;
        loop.left[i] += bells.left[i] + ECHO * bells.right[heard];
        loop.right[i] += bells.right[i] + ECHO * bells.left[heard];
    }
}

} // namespace

Stereo make_drift()
{
    Stereo loop = silent_loop(9.0 * static_cast<double>(DRIFT_CHORDS.size()));
    // gain, detune, attack, release, brightness, max cutoff, sweep, its cycles, shimmer, seed
    add_pad(loop, DRIFT_CHORDS, {0.10, 9.0, 4.0, 6.0, 4.0, 2600.0, 0.6, 5, 0.2, 0xD1F7});
    add_bell_line(loop, DRIFT_CHORDS, {2, 0.2, 69, 86, {0.17, 3.0, 3.5, 0.9, 0.12}, 0xBE11});
    // gain, low, high, q, cycles, seed
    add_wind(loop, {0.11, 700.0, 2600.0, 1.5, 3, 0xA1F});
    put_in_room(loop, {6.0, 4500.0, 0.45, 8000.0});
    return loop;
}

Stereo make_lattice()
{
    Stereo loop = silent_loop(10.0 * static_cast<double>(LATTICE_CHORDS.size()));
    add_pad(loop, LATTICE_CHORDS, {0.10, 7.0, 3.0, 5.0, 3.5, 2400.0, 0.5, 7, 0.18, 0x1A77});
    add_lattice_bells(loop, LATTICE_CHORDS, 0x1A7B);
    add_wind(loop, {0.085, 1200.0, 4000.0, 2.5, 4, 0x1A7C});
    put_in_room(loop, {5.0, 5000.0, 0.5, 8500.0});
    return loop;
}

Stereo make_summit()
{
    Stereo loop = silent_loop(12.0 * static_cast<double>(SUMMIT_CHORDS.size()));
    add_drone(loop, note_hz(34), 0.03, 3);
    add_pad(loop, SUMMIT_CHORDS, {0.10, 11.0, 5.0, 7.0, 3.0, 1800.0, 0.7, 4, 0.08, 0x5077});
    add_bell_line(loop, SUMMIT_CHORDS, {1, 0.1, 58, 77, {0.15, 5.0, 2.76, 0.6, 0.4}, 0x5B11});
    add_wind(loop, {0.17, 250.0, 1400.0, 1.2, 2, 0x5A1F});
    put_in_room(loop, {8.0, 3500.0, 0.55, 7000.0});
    return loop;
}
