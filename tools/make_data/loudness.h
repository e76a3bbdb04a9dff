// Loudness as ITU-R BS.1770 measures it, which is what players' and
// broadcasters' meters read (ffmpeg's ebur128 among them), so that the
// music can be mastered to it without a meter.
#pragma once

#include "synth.h"

// The integrated loudness of a stereo sound at SAMPLE_RATE, in LUFS:
// K-weighted mean power over 400 ms blocks, gated at -70 LUFS and then 10 LU
// below the mean of the blocks left; -inf for a sound too short or silent.
double integrated_loudness(const Samples& left, const Samples& right);
