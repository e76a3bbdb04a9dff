// Undo and the hint: small answers to the player's keys.
#include "sounds.h"

// A short blip that drops, as the launch is taken back.
Samples make_undo()
{
    Samples sound = silence(0.20);
    FmVoice tone;
    Oscillator below;
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds_at(i);
        const double pitch = glide(700.0, 440.0, t, 0.10);
        sound[i] = attack_decay(t, 0.003, 0.045) *
                   (tone.next(pitch, 1.0, 0.4) + 0.3 * below.next(pitch / 2.0));
    }
    return sound;
}

// Two glass notes rising a fifth: here is a way.
Samples make_hint()
{
    Samples sound = silence(0.36);
    // onset, Hz, gain, decay, ratio, index, index decay, detune
    add_chime(sound, {0.00, 587.33, 0.5, 0.09, 3.5, 0.8, 0.03, 4.0});
    add_chime(sound, {0.10, 880.00, 0.5, 0.09, 3.5, 0.8, 0.03, 4.0});
    return sound;
}

// Two low notes falling a minor third, muffled: there is no way.
Samples make_no_way()
{
    Samples sound = silence(0.36);
    // onset, Hz, gain, decay, ratio, index, index decay, detune
    add_chime(sound, {0.00, 311.13, 0.5, 0.07, 1.0, 0.6, 0.05, 4.0});
    add_chime(sound, {0.13, 261.63, 0.5, 0.08, 1.0, 0.6, 0.05, 4.0});
    OnePoleLowPass muffle;
    for (double& sample : sound)
        sample = muffle.next(sample, 900.0);
    return sound;
}
