#include "music.h"

#include "loudness.h"
#include "ogg_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Quiet enough to leave the sound effects, which peak 4 to 8 dB under full
// scale, standing clear above it at the same volume setting.
constexpr double TARGET_LUFS = -20.0;
// The encoder's error can push a peak up by a decibel or so; the file must
// stay under -1 dB true peak.
constexpr double MOST_PEAK_DBFS = -3.0;
// About 1 MB a minute for music this soft.
constexpr double VORBIS_QUALITY = 0.5;

} // namespace

std::vector<Piece> music_pieces()
{
    return {
        {"drift.ogg", make_drift},
        {"lattice.ogg", make_lattice},
        {"summit.ogg", make_summit},
    };
}

void write_piece(const Piece& piece, const std::string& path)
{
    const Stereo loop = piece.make();
    const double loudness = integrated_loudness(loop.left, loop.right);
    if (!std::isfinite(loudness))
        throw std::logic_error(piece.name + " is silent");
    const double gain = std::pow(10.0, (TARGET_LUFS - loudness) / 20.0);
    double peak = 0.0;
    std::vector<float> interleaved(2 * loop.left.size());
    for (size_t i = 0; i < loop.left.size(); ++i) {
        interleaved[2 * i] = static_cast<float>(gain * loop.left[i]);
        interleaved[2 * i + 1] = static_cast<float>(gain * loop.right[i]);
        peak = std::max({peak, std::abs(gain * loop.left[i]), std::abs(gain * loop.right[i])});
    }
    const double peak_dbfs = 20.0 * std::log10(peak);
    if (!(peak_dbfs <= MOST_PEAK_DBFS))
        throw std::logic_error(piece.name + " peaks at " + std::to_string(peak_dbfs) + " dBFS at " +
                               std::to_string(TARGET_LUFS) + " LUFS, over " +
                               std::to_string(MOST_PEAK_DBFS));
    save_ogg_vorbis(interleaved, 2, SAMPLE_RATE, VORBIS_QUALITY, path);
}
