#include "ambient.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr size_t CONTROL_PERIOD = 32; // samples between updates of a slow change

// std::floor, without the library call it costs on a plain x86-64 build.
double whole_below(double value)
{
    const auto whole = static_cast<double>(static_cast<long long>(value));
    return whole > value ? whole - 1.0 : whole;
}

size_t samples_in(double seconds)
{
    return static_cast<size_t>(std::lround(std::max(seconds, 0.0) * SAMPLE_RATE));
}

// Where a time, which may be before the start or past the end, falls in a
// loop of `length` samples.
size_t wrapped(double seconds, size_t length)
{
    const auto at = static_cast<long long>(std::llround(seconds * SAMPLE_RATE));
    const auto size = static_cast<long long>(length);
    return static_cast<size_t>(((at % size) + size) % size);
}

// A minute of music calls sin() hundreds of millions of times; a table with
// linear interpolation is within 3e-7 of it, 130 dB down.
class SineTable {
public:
    SineTable()
    {
        for (size_t k = 0; k < values.size(); ++k)
            values[k] = std::sin(2.0 * PI * static_cast<double>(k) / SIZE);
    }

    // sin(2 pi cycles).
    double operator()(double cycles) const
    {
        const double at = (cycles - whole_below(cycles)) * SIZE;
        const auto k = static_cast<size_t>(at);
        return values[k] + (at - static_cast<double>(k)) * (values[k + 1] - values[k]);
    }

private:
    static constexpr size_t SIZE = 4096;
    // Two past the end: a phase a hair under 1 may round up to it.
    std::array<double, SIZE + 2> values{};
};

const SineTable SINE;

// 0 to 1 along half a cosine, no corner at either end.
double rise(double progress)
{
    return 0.5 - 0.5 * SINE(0.25 + 0.5 * progress);
}

// A sine of fixed frequency made by turning a point round a circle: four
// multiplications a sample, cheaper than a lookup in the table.
class Rotor {
public:
    Rotor(double frequency, double phase)
        : turn_cos(std::cos(2.0 * PI * frequency / SAMPLE_RATE)),
          turn_sin(std::sin(2.0 * PI * frequency / SAMPLE_RATE)), x(std::cos(2.0 * PI * phase)),
          y(std::sin(2.0 * PI * phase))
    {
    }

    double next()
    {
        const double value = y;
        const double turned = x * turn_cos - y * turn_sin;
        y = x * turn_sin + y * turn_cos;
        x = turned;
        return value;
    }

private:
    double turn_cos, turn_sin;
    double x, y;
};

// A sawtooth from -1 to 1, its jump smoothed by a polynomial band-limited
// step so that its harmonics above half the sample rate do not fold back.
class Saw {
public:
    explicit Saw(double phase) : phase(phase) {}

    double next(double step)
    {
        double value = 2.0 * phase - 1.0;
        if (phase < step) {
            const double x = phase / step;
            value -= x + x - x * x - 1.0;
        } else if (phase > 1.0 - step) {
            const double x = (phase - 1.0) / step;
            value -= x * x + x + x + 1.0;
        }
        phase += step;
        if (phase >= 1.0)
            phase -= 1.0;
        return value;
    }

private:
    double phase; // in cycles
};

// A state-variable filter (the trapezoidal form): stable however its
// cutoff moves, with low-pass, band-pass and high-pass at once.
class StateVariable {
public:
    void tune(double cutoff, double q)
    {
        const double g = std::tan(PI * std::clamp(cutoff, 10.0, 0.45 * SAMPLE_RATE) / SAMPLE_RATE);
        k = 1.0 / q;
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }

    void next(double input)
    {
        const double v3 = input - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        low = v2;
        band = k * v1; // unit gain at the centre
        high = input - k * v1 - v2;
    }

    double low = 0.0, band = 0.0, high = 0.0;

private:
    double k = 1.0, a1 = 0.0, a2 = 0.0, a3 = 0.0;
    double ic1 = 0.0, ic2 = 0.0;
};

constexpr double FULL_NOTE_HZ = 250.0; // pad notes below it are softened

// One note of a pad, from `onset` (s into the loop), fading out from
// `hold` seconds after it.
void add_pad_note(Stereo& loop, double onset, double hold, double frequency, const PadSound& sound,
                  Random& random)
{
    const size_t size = loop.left.size();
    const size_t attack = samples_in(sound.attack);
    const size_t fall_start = std::max(samples_in(hold), attack);
    const size_t fall = samples_in(sound.release);
    Saw saws[3] = {Saw(random.uniform()), Saw(random.uniform()), Saw(random.uniform())};
    double steps[3];
    for (int v = 0; v < 3; ++v) {
        const double cents = sound.detune_cents * (v - 1 + random.range(-0.2f, 0.2f));
        steps[v] = frequency * std::pow(2.0, cents / 1200.0) / SAMPLE_RATE;
    }
    const double sweep_offset = random.uniform();
    const double base_cutoff = std::min(frequency * sound.brightness, sound.max_cutoff);
    Rotor shimmer(2.0 * frequency, random.uniform());
    // The saws sum to about 2 at most in either ear. A low note carries
    // more energy than it seems to, and many would thicken into mud.
    const double gain = 0.5 * sound.gain * std::min(1.0, std::sqrt(frequency / FULL_NOTE_HZ));

    const size_t length = fall_start + fall;
    const auto envelope_at = [&](size_t i) {
        if (i < attack)
            return rise(static_cast<double>(i) / attack);
        if (i < fall_start)
            return 1.0;
        return 1.0 - rise(static_cast<double>(std::min(i, length) - fall_start) / fall);
    };

    StateVariable left, right;
    double envelope = 0.0;
    double envelope_step = 0.0;
    size_t at = wrapped(onset, size);
    for (size_t i = 0; i < length; ++i, at = at + 1 == size ? 0 : at + 1) {
        if (i % CONTROL_PERIOD == 0) {
            const double wander =
                SINE(sound.sweep_cycles * static_cast<double>(at) / size + sweep_offset);
            const double cutoff = base_cutoff * std::exp2(sound.sweep_octaves * wander);
            left.tune(cutoff, 0.7);
            right.tune(cutoff * 1.05, 0.7);
            // The envelope changes over seconds: straight between updates.
            envelope = envelope_at(i);
            envelope_step = (envelope_at(i + CONTROL_PERIOD) - envelope) / CONTROL_PERIOD;
        }
        const double a = saws[0].next(steps[0]);
        const double b = saws[1].next(steps[1]);
        const double c = saws[2].next(steps[2]);
        left.next(a + 0.7 * b + 0.35 * c);
        right.next(0.35 * a + 0.7 * b + c);
        const double glass = sound.shimmer * shimmer.next();
        loop.left[at] += gain * envelope * (left.low + glass);
        loop.right[at] += gain * envelope * (right.low + glass);
        envelope += envelope_step;
    }
}

// Whatever has a memory is first run over the end of the loop, long enough
// for that memory to fade far below the file's 16 bits, and then over the
// whole loop, so that the start follows on from the end. This is where the
// first run starts: on a sample where the slow changes are brought up to
// date.
size_t warm_up_start(size_t size, double memory_seconds)
{
    return (size - std::min(size, samples_in(memory_seconds))) / CONTROL_PERIOD * CONTROL_PERIOD;
}

// The loop's own white noise in [-1, 1), sample `index` of it: SplitMix64
// is a counter, so any sample can be had without those before it.
double noise_at(uint64_t seed, size_t index)
{
    Random random(seed + 0x9E3779B97F4A7C15ull * index);
    return 2.0 * random.uniform() - 1.0;
}

// A delay line read at any distance behind its last input, between samples
// by straight lines.
class DelayLine {
public:
    explicit DelayLine(size_t capacity) : buffer(capacity, 0.0) {}

    // How far behind the last input `read` looks: at least 1 sample, less
    // than the capacity.
    void set_delay(double delay)
    {
        whole = static_cast<size_t>(delay);
        part = delay - static_cast<double>(whole);
    }

    double read() const
    {
        const size_t newer = write >= whole ? write - whole : write + buffer.size() - whole;
        const size_t older = newer == 0 ? buffer.size() - 1 : newer - 1;
        return buffer[newer] + part * (buffer[older] - buffer[newer]);
    }

    // The input exactly `delay` samples ago, from 1 to the capacity.
    double tap(size_t delay) const
    {
        return buffer[write >= delay ? write - delay : write + buffer.size() - delay];
    }

    void push(double value)
    {
        buffer[write] = value;
        write = write + 1 == buffer.size() ? 0 : write + 1;
    }

private:
    std::vector<double> buffer;
    size_t write = 0;
    size_t whole = 1;
    double part = 0.0;
};

// A Schroeder all-pass: smears an echo into many without colouring it.
class AllPass {
public:
    explicit AllPass(size_t length) : line(length), length(length) {}

    double next(double input)
    {
        const double delayed = line.tap(length);
        const double fed = input + DIFFUSION * delayed;
        line.push(fed);
        return delayed - DIFFUSION * fed;
    }

private:
    static constexpr double DIFFUSION = 0.6;
    DelayLine line;
    size_t length;
};

// The reverb: eight delay lines feeding one another through a Hadamard
// matrix, which keeps the energy while mixing every line into every other,
// each line losing its share for the decay and its highs for the damping.
// Their lengths share no factor, so their echoes never line up, and each
// sways by a few samples so that the tail does not ring at fixed pitches.
constexpr int LINES = 8;
constexpr std::array<double, LINES> LINE_LENGTHS = {1601, 1867, 2053, 2251, 2399, 2617, 2857, 3089}; // samples
constexpr double SWAY = 7.0;                                   // samples either way
constexpr std::array<double, LINES> SWAY_HZ = {0.11, 0.13, 0.17, 0.19, 0.23, 0.29, 0.31, 0.37};
constexpr std::array<std::array<size_t, 3>, 2> DIFFUSERS = {{{211, 353, 587}, {223, 367, 601}}}; // samples
constexpr double PRE_DELAY = 0.025;   // s, so the first echo comes after the note
constexpr double HIGH_PASS_HZ = 40.0; // nothing below it but rumble

void hadamard(std::array<double, LINES>& values)
{
    for (int span = 1; span < LINES; span *= 2)
        for (int start = 0; start < LINES; start += 2 * span)
            for (int k = start; k < start + span; ++k) {
                const double a = values[k];
                const double b = values[k + span];
                values[k] = a + b;
                values[k + span] = a - b;
            }
    constexpr double SCALE = 0.35355339059327373; // 1 / sqrt(LINES), keeping the energy
    for (double& value : values)
        value *= SCALE;
}

} // namespace

Stereo silent_loop(double seconds)
{
    return {silence(seconds), silence(seconds)};
}

double note_hz(int note)
{
    return 440.0 * std::exp2((note - 69) / 12.0);
}

void add_pad(Stereo& loop, const std::vector<Chord>& chords, const PadSound& sound)
{
    const size_t count = chords.size();
    const double chord_seconds = seconds_at(loop.left.size()) / static_cast<double>(count);
    const auto has = [&](size_t chord, int note) {
        const Chord& notes = chords[chord % count];
        return std::find(notes.begin(), notes.end(), note) != notes.end();
    };
    // It swells in a little before its chord, and fades under the next.
    const double lead = 0.4 * sound.attack;
    Random random(sound.seed);
    for (size_t chord = 0; chord < count; ++chord)
        for (const int note : chords[chord]) {
            size_t held = 1;
            while (held < count && has(chord + held, note))
                ++held;
            if (held == count)
                throw std::logic_error("note " + std::to_string(note) +
                                       " is in every chord of the pad: make it a drone");
            if (has(chord + count - 1, note))
                continue; // held on from the chord before
            const double onset = static_cast<double>(chord) * chord_seconds - lead;
            const double hold = static_cast<double>(held) * chord_seconds + lead - 0.3 * sound.release;
            add_pad_note(loop, onset, hold, note_hz(note), sound, random);
        }
}

void add_bell(Stereo& loop, const Bell& bell)
{
    constexpr double ATTACK = 0.012; // s: a soft mallet, no click
    constexpr double BEAT_HZ = 0.7;  // the second carrier's beating against the first
    // Faded out from 45 to 55 dB down, where the pad and the room hide it.
    const size_t length = std::min(samples_in(bell.decay * std::log(600.0)), loop.left.size());
    const size_t fade_start = length - length / 6;
    const size_t attack = samples_in(ATTACK);
    const double fall = std::exp(-1.0 / (bell.decay * SAMPLE_RATE));
    const double dulling = std::exp(-1.0 / (bell.index_decay * SAMPLE_RATE));
    const double to_left = std::cos(0.25 * PI * (bell.pan + 1.0));
    const double to_right = std::sin(0.25 * PI * (bell.pan + 1.0));
    // Two carriers BEAT_HZ apart are one at their mean under a slow cosine.
    const double step = (bell.frequency + 0.5 * BEAT_HZ) / SAMPLE_RATE;
    Rotor beating(0.5 * BEAT_HZ, 0.25);
    Rotor modulator(bell.frequency * bell.ratio, 0.0);
    double carrier = 0.0;
    double level = bell.gain;
    double depth = bell.index / (2.0 * PI); // in cycles
    size_t at = wrapped(bell.onset, loop.left.size());
    for (size_t i = 0; i < length; ++i, at = at + 1 == loop.left.size() ? 0 : at + 1) {
        const double push = depth * modulator.next();
        double value = level * beating.next() * SINE(carrier + push);
        if (i < attack)
            value *= rise(static_cast<double>(i) / attack);
        else if (i >= fade_start)
            value *= 1.0 - rise(static_cast<double>(i - fade_start) / (length - fade_start));
        loop.left[at] += to_left * value;
        loop.right[at] += to_right * value;
        level *= fall;
        depth *= dulling;
        carrier += step;
        carrier -= carrier >= 1.0 ? 1.0 : 0.0;
    }
}

void add_drone(Stereo& loop, double frequency, double gain, int swell_cycles)
{
    const size_t size = loop.left.size();
    // Whole cycles in the loop, counted in integers so that the phase at the
    // end runs exactly into the phase at the start.
    const auto cycles = static_cast<uint64_t>(std::max(1L, std::lround(frequency * seconds_at(size))));
    for (size_t i = 0; i < size; ++i) {
        const double phase = static_cast<double>(cycles * i % size) / size;
        const double octave = static_cast<double>(2 * cycles * i % size) / size;
        const double swell = 0.75 + 0.25 * SINE(swell_cycles * static_cast<double>(i) / size);
        const double value = gain * swell * (SINE(phase) + 0.3 * SINE(octave));
        loop.left[i] += value;
        loop.right[i] += value;
    }
}

void add_wind(Stereo& loop, const Wind& wind)
{
    const size_t size = loop.left.size();
    const uint64_t seeds[2] = {wind.seed, wind.seed ^ 0x5EEDull};
    StateVariable bands[2];
    double loudness[2] = {1.0, 1.0};
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = pass == 0 ? warm_up_start(size, 1.0) : 0; i < size; ++i) {
            for (int ear = 0; ear < 2; ++ear) {
                if (i % CONTROL_PERIOD == 0) {
                    const double wander =
                        SINE(wind.cycles * static_cast<double>(i) / size + 0.3 * ear);
                    const double centre = wind.low * std::pow(wind.high / wind.low, 0.5 + 0.5 * wander);
                    bands[ear].tune(centre, wind.q);
                    // A wider band lets more noise through: as loud high as low.
                    loudness[ear] = std::sqrt(wind.low / centre);
                }
                bands[ear].next(noise_at(seeds[ear], i));
            }
            if (pass == 1) {
                loop.left[i] += wind.gain * loudness[0] * bands[0].band;
                loop.right[i] += wind.gain * loudness[1] * bands[1].band;
            }
        }
    }
}

void put_in_room(Stereo& loop, const Room& room)
{
    const size_t size = loop.left.size();
    std::array<DelayLine, LINES> lines{DelayLine(1), DelayLine(1), DelayLine(1), DelayLine(1),
                                       DelayLine(1), DelayLine(1), DelayLine(1), DelayLine(1)};
    std::array<double, LINES> keep{};
    std::array<double, LINES> damping{};
    std::array<double, LINES> sway_cycles{};
    double mean_keep = 0.0;
    for (int k = 0; k < LINES; ++k) {
        lines[k] = DelayLine(static_cast<size_t>(LINE_LENGTHS[k] + SWAY) + 2);
        keep[k] = std::pow(10.0, -3.0 * LINE_LENGTHS[k] / (room.decay_seconds * SAMPLE_RATE));
        mean_keep += keep[k] / LINES;
        sway_cycles[k] = std::round(SWAY_HZ[k] * seconds_at(size)); // whole cycles a loop
    }
    // About as loud as what goes in, whatever the decay.
    const double wet_gain = room.wet * std::sqrt(1.0 - mean_keep * mean_keep);
    const double damping_share = 1.0 - std::exp(-2.0 * PI * room.damping_hz / SAMPLE_RATE);
    const size_t pre_delay = samples_in(PRE_DELAY);
    DelayLine before[2] = {DelayLine(pre_delay), DelayLine(pre_delay)};
    std::vector<AllPass> diffusers[2];
    for (int ear = 0; ear < 2; ++ear)
        for (const size_t length : DIFFUSERS[ear])
            diffusers[ear].emplace_back(length);
    StateVariable high_pass[2], high_cut[2];
    for (int ear = 0; ear < 2; ++ear) {
        high_pass[ear].tune(HIGH_PASS_HZ, 0.7);
        high_cut[ear].tune(room.high_cut_hz, 0.6);
    }

    Stereo out = {Samples(size), Samples(size)};
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = pass == 0 ? warm_up_start(size, 2.5 * room.decay_seconds) : 0; i < size; ++i) {
            const double dry[2] = {loop.left[i], loop.right[i]};
            double fed[2];
            for (int ear = 0; ear < 2; ++ear) {
                fed[ear] = before[ear].tap(pre_delay);
                before[ear].push(dry[ear]);
                for (AllPass& diffuser : diffusers[ear])
                    fed[ear] = diffuser.next(fed[ear]);
            }
            if (i % CONTROL_PERIOD == 0)
                for (int k = 0; k < LINES; ++k)
                    lines[k].set_delay(LINE_LENGTHS[k] +
                                       SWAY * SINE(sway_cycles[k] * static_cast<double>(i) / size + 0.125 * k));
            std::array<double, LINES> heard{};
            std::array<double, LINES> mixed{};
            for (int k = 0; k < LINES; ++k) {
                heard[k] = lines[k].read();
                damping[k] += damping_share * (heard[k] - damping[k]);
                mixed[k] = keep[k] * damping[k];
            }
            hadamard(mixed);
            for (int k = 0; k < LINES; ++k)
                lines[k].push(mixed[k] + fed[k % 2]);
            const double wet[2] = {0.5 * (heard[0] + heard[2] - heard[4] - heard[6]),
                                   0.5 * (heard[1] + heard[3] - heard[5] - heard[7])};
            for (int ear = 0; ear < 2; ++ear) {
                high_pass[ear].next((1.0 - room.wet) * dry[ear] + wet_gain * wet[ear]);
                high_cut[ear].next(high_pass[ear].high);
            }
            if (pass == 1) {
                out.left[i] = high_cut[0].low;
                out.right[i] = high_cut[1].low;
            }
        }
    loop = std::move(out);
}
