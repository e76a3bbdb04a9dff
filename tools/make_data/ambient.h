// The instruments of the game's music and the room they play in.
//
// A piece is one loop long and everything in it wraps, so that its end runs
// on into its start with no seam: a note whose tail runs past the end goes
// on from the start, every slow change (a filter's sweep, a swell, the
// reverb's sway) makes whole cycles in the loop, and whatever has a memory
// (the room, the filters over the noise) runs over the end of the loop
// before the whole of it, so that the start hears the end's tail.
#pragma once

#include "synth.h"

#include <cstdint>
#include <vector>

struct Stereo {
    Samples left;
    Samples right;
};

// A silent loop of about `seconds`.
Stereo silent_loop(double seconds);

// The equal-tempered frequency of a MIDI note number (69 is A4, 440 Hz).
double note_hz(int note);

using Chord = std::vector<int>; // MIDI note numbers

// A slow pad: three detuned band-limited saws a note, spread left, middle
// and right, each channel through a low-pass that wanders up and down.
struct PadSound {
    double gain;           // of one note
    double detune_cents;   // the outer saws, either side of the middle one
    double attack;         // s, a raised-cosine rise
    double release;        // s, a raised-cosine fall
    double brightness;     // the low-pass cutoff over the note's frequency
    double max_cutoff;     // Hz, however high the note
    double sweep_octaves;  // how far the cutoff wanders either way
    int sweep_cycles;      // its wanderings in a loop
    double shimmer;        // a sine an octave up, as a share of the saws
    uint64_t seed;
};

// Plays the chords one after another round the loop, sharing it evenly,
// each swelling in as the last fades. A note the next chord keeps is held
// on, not struck again: two copies of one pitch would beat against each
// other. Throws std::logic_error for a note in every chord, which could
// never start; such a note is a drone.
void add_pad(Stereo& loop, const std::vector<Chord>& chords, const PadSound& sound);

// A struck bell: two-operator FM, its brightness fading faster than its
// loudness, with a second carrier a hair higher beating slowly against it.
struct Bell {
    double onset;       // s into the loop
    double frequency;   // Hz
    double gain;        // at the strike
    double pan;         // -1 left to 1 right
    double decay;       // s for the loudness to fall by e
    double ratio;       // modulator : carrier
    double index;       // FM depth at the strike, radians
    double index_decay; // s for the depth to fall by e
};

void add_bell(Stereo& loop, const Bell& bell);

// A soft sine held through the whole loop, with its octave, swelling
// `swell_cycles` times. Its pitch is moved by a hair so that it makes whole
// cycles in the loop.
void add_drone(Stereo& loop, double frequency, double gain, int swell_cycles);

// Air: noise through a band-pass whose centre wanders between `low` and
// `high`, a little differently in each ear.
struct Wind {
    double gain;
    double low;  // Hz
    double high; // Hz
    double q;
    int cycles; // the centre's wanderings in a loop
    uint64_t seed;
};

void add_wind(Stereo& loop, const Wind& wind);

// The room: a long reverb, a high-pass below the music and a soft high
// cut, so that nothing rumbles or hisses under the game's sounds.
struct Room {
    double decay_seconds; // to fall by 60 dB, at low frequencies
    double damping_hz;    // above this the tail dies sooner
    double wet;           // the reverb's share, 0 to 1
    double high_cut_hz;
};

void put_in_room(Stereo& loop, const Room& room);
