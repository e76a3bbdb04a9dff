// The level as a whole: solved, and chosen with the level select keys.
#include "sounds.h"

#include <cmath>

namespace {

// A major chord on A: the arpeggio rings over a pad an octave below it.
constexpr double ARPEGGIO[] = {440.00, 554.37, 659.26, 880.00}; // Hz
constexpr double PAD[] = {220.00, 277.18, 329.63};              // Hz
// Quieter as they climb, so the ringing notes below do not pile up.
constexpr double NOTE_GAINS[] = {0.5, 0.4, 0.35, 0.35};
constexpr double NOTE_SPACING = 0.085; // s
constexpr double PAD_DETUNE_CENTS[] = {-6.0, 0.0, 6.0};

} // namespace

// Four glass notes climbing a major chord, settling into a soft chord that
// swells in behind them and fades.
Samples make_goal()
{
    Samples sound = silence(1.25);
    for (int note = 0; note < 4; ++note) {
        // onset, Hz, gain, decay, ratio, index, index decay, detune
        add_chime(sound, {NOTE_SPACING * note, ARPEGGIO[note], NOTE_GAINS[note], 0.28, 3.5, 1.0,
                          0.08, 5.0});
    }

    Oscillator pad[3][3];
    OnePoleLowPass soften;
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds_at(i);
        double chord = 0.0;
        for (int note = 0; note < 3; ++note)
            for (int v = 0; v < 3; ++v)
                chord += pad[note][v].next(PAD[note] * std::pow(2.0, PAD_DETUNE_CENTS[v] / 1200.0));
        sound[i] += 0.06 * soften.next(chord, 1500.0) * attack_decay(t - 0.05, 0.40, 0.25);
    }
    return sound;
}

// A small glass tick.
Samples make_select()
{
    Samples sound = silence(0.12);
    // onset, Hz, gain, decay, ratio, index, index decay
    add_chime(sound, {0.0, 880.0, 1.0, 0.028, 3.5, 0.9, 0.01});
    return sound;
}
