// Finds where sound clips start in a recording of the game, and where the
// recording is not silent, for the end-to-end rows that listen to it.
// Usage: sound-match RECORDING [CLIP EXPECTED_SECONDS]...
// Prints, for each clip, "CLIP at SECONDS score S": the start, within a
// quarter of a second of where it is expected, where the recording looks
// most like the clip's first 150 ms (S is their normalised correlation, 1
// for a perfect copy at any level). Then "sounding FROM TO" for each
// stretch that is not silent, gaps under 50 ms bridged, "length SECONDS"
// of the whole recording and its "peak", the largest sample of any channel
// as a share of full scale (1 where it clips).
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double SEARCH_SECONDS = 0.25;
constexpr double MATCHED_SECONDS = 0.15;
constexpr double BRIDGED_SECONDS = 0.05;
// A sample under this share of full scale counts as silence: dither-free
// digital silence is exactly 0, and the quietest tail of a clip is above.
constexpr float SILENCE = 1.0e-3f;

struct Recording {
    std::vector<float> mono; // the channels summed
    int rate = 0;
    float peak = 0.0f; // of any channel, a share of full scale
};

bool read(const char* name, Recording& out)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(name, SFM_READ, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "%s: %s\n", name, sf_strerror(nullptr));
        return false;
    }
    std::vector<float> frames(static_cast<size_t>(info.frames * info.channels));
    const sf_count_t got = sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    out.rate = info.samplerate;
    out.mono.assign(static_cast<size_t>(got), 0.0f);
    for (sf_count_t k = 0; k < got; ++k)
        for (int c = 0; c < info.channels; ++c) {
            const float sample = frames[static_cast<size_t>(k * info.channels + c)];
            out.mono[static_cast<size_t>(k)] += sample;
            out.peak = std::max(out.peak, std::abs(sample));
        }
    return true;
}

void find_clip(const Recording& recording, const char* name, double expected)
{
    Recording clip;
    if (!read(name, clip))
        std::exit(2);
    if (clip.rate != recording.rate) {
        std::fprintf(stderr, "%s: %d samples a second, the recording %d\n", name, clip.rate, recording.rate);
        std::exit(2);
    }
    const auto length = std::min(clip.mono.size(), static_cast<size_t>(MATCHED_SECONDS * clip.rate));
    double clip_energy = 0.0;
    for (size_t k = 0; k < length; ++k)
        clip_energy += double(clip.mono[k]) * clip.mono[k];

    const long first = std::max(0L, std::lround((expected - SEARCH_SECONDS) * recording.rate));
    const long last = std::min(static_cast<long>(recording.mono.size()) - static_cast<long>(length),
                               std::lround((expected + SEARCH_SECONDS) * recording.rate));
    double best = -1.0;
    long best_at = first;
    for (long at = first; at <= last; ++at) {
        double product = 0.0;
        double energy = 0.0;
        const float* r = recording.mono.data() + at;
        for (size_t k = 0; k < length; ++k) {
            product += double(r[k]) * clip.mono[k];
            energy += double(r[k]) * r[k];
        }
        const double score = energy > 0.0 ? product / std::sqrt(energy * clip_energy) : 0.0;
        if (score > best) {
            best = score;
            best_at = at;
        }
    }
    std::printf("%s at %.4f score %.3f\n", name, double(best_at) / recording.rate, best);
}

void print_sounding(const Recording& recording)
{
    const auto bridge = static_cast<size_t>(BRIDGED_SECONDS * recording.rate);
    size_t from = 0;
    size_t to = 0;
    bool open = false;
    for (size_t k = 0; k < recording.mono.size(); ++k) {
        if (std::fabs(recording.mono[k]) < SILENCE)
            continue;
        if (open && k - to > bridge) {
            std::printf("sounding %.4f %.4f\n", double(from) / recording.rate, double(to) / recording.rate);
            open = false;
        }
        if (!open)
            from = k;
        open = true;
        to = k;
    }
    if (open)
        std::printf("sounding %.4f %.4f\n", double(from) / recording.rate, double(to) / recording.rate);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: sound-match RECORDING [CLIP EXPECTED_SECONDS]...\n");
        return 2;
    }
    Recording recording;
    if (!read(argv[1], recording))
        return 2;
    for (int k = 2; k + 1 < argc; k += 2)
        find_clip(recording, argv[k], std::atof(argv[k + 1]));
    print_sounding(recording);
    std::printf("length %.4f\n", double(recording.mono.size()) / recording.rate);
    std::printf("peak %.4f\n", double(recording.peak));
    return 0;
}
