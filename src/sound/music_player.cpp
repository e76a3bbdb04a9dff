#include "sound/music_player.h"

#include <AL/al.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

constexpr size_t BUFFER_FRAMES = 2048; // 46 ms: six queued hold 280 ms
constexpr int32_t CHANNELS = 2;
constexpr auto FEED_PERIOD = std::chrono::milliseconds(20);
const int64_t FADE_FRAMES = static_cast<int64_t>(MUSIC_FADE_SECONDS * MUSIC_RATE);
// A straight fade: two pieces never sum above the louder one's peak, so a
// change of piece cannot clip, where an equal-power fade could.
float fade_in_gain(int64_t frames)
{
    return std::clamp(static_cast<float>(frames) / static_cast<float>(FADE_FRAMES), 0.0f, 1.0f);
}

} // namespace

MusicPlayer::MusicPlayer(std::vector<std::optional<SoundStream>> pieces, bool own_thread)
    : pieces_(std::move(pieces))
{
    alGenSources(1, &source_);
    alGenBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
    // Heard as it was made, wherever the camera is.
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
    if (own_thread)
        feeder_ = std::thread([this] {
            std::unique_lock<std::mutex> lock(mutex_);
            while (!stopping_) {
                lock.unlock();
                keep_fed();
                lock.lock();
                wake_.wait_for(lock, FEED_PERIOD, [this] { return stopping_.load(); });
            }
        });
}

MusicPlayer::~MusicPlayer()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (feeder_.joinable())
        feeder_.join();
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alDeleteSources(1, &source_);
    alDeleteBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
}

void MusicPlayer::play(size_t piece)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    wanted_ = piece;
}

void MusicPlayer::set_gain(float gain)
{
    alSourcef(source_, AL_GAIN, gain);
}

std::vector<std::string> MusicPlayer::take_problems()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(problems_, {});
}

void MusicPlayer::mix_into(std::vector<float>& mix, size_t piece, float from_gain, float to_gain)
{
    if (piece >= pieces_.size() || !pieces_[piece])
        return;
    SoundStream& stream = *pieces_[piece];
    const int32_t channels = stream.channels();
    std::vector<int16_t> samples(BUFFER_FRAMES * static_cast<size_t>(channels));
    // Round from its end to its start: the pieces are made to join there.
    size_t frames = 0;
    bool just_rewound = false;
    while (frames < BUFFER_FRAMES) {
        Result<size_t> read = stream.read(samples.data() + frames * static_cast<size_t>(channels), BUFFER_FRAMES - frames);
        if (read && read.value() > 0) {
            frames += read.value();
            just_rewound = false;
            continue;
        }
        if (read && just_rewound)
            break; // nothing in it at all
        const Result<> rewound = read ? stream.rewind() : Result<>(Failure{read.problem()});
        if (!rewound) {
            const std::lock_guard<std::mutex> lock(mutex_);
            problems_.push_back(rewound.problem());
            pieces_[piece].reset();
            return;
        }
        just_rewound = true;
    }
    for (size_t frame = 0; frame < frames; ++frame) {
        const float gain = from_gain + (to_gain - from_gain) * static_cast<float>(frame) / BUFFER_FRAMES;
        for (int32_t channel = 0; channel < CHANNELS; ++channel)
            mix[frame * CHANNELS + channel] +=
                gain * samples[frame * channels + std::min(channel, channels - 1)];
    }
}

void MusicPlayer::queue_mixed(uint32_t buffer)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (wanted_ != playing_ && wanted_ == fading_ && fading_) {
            // Back to the piece fading out: it fades in again from where it
            // is, and the other out from where it is.
            std::swap(playing_, fading_);
            faded_frames_ = FADE_FRAMES - faded_frames_;
        } else if (wanted_ != playing_) {
            // A third piece cuts short a fade under way.
            fading_ = playing_;
            playing_ = wanted_;
            faded_frames_ = 0; // the first piece fades in too
        }
    }
    std::vector<float> mix(BUFFER_FRAMES * CHANNELS, 0.0f);
    const int64_t next = std::min(faded_frames_ + static_cast<int64_t>(BUFFER_FRAMES), FADE_FRAMES);
    if (playing_)
        mix_into(mix, *playing_, fade_in_gain(faded_frames_), fade_in_gain(next));
    if (fading_ && faded_frames_ < FADE_FRAMES)
        mix_into(mix, *fading_, fade_in_gain(FADE_FRAMES - faded_frames_), fade_in_gain(FADE_FRAMES - next));
    faded_frames_ = next;
    std::vector<int16_t> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(),
                   [](float sample) { return static_cast<int16_t>(std::clamp(sample, -32768.0f, 32767.0f)); });
    alBufferData(buffer, AL_FORMAT_STEREO16, samples.data(), static_cast<ALsizei>(samples.size() * sizeof(int16_t)),
                 MUSIC_RATE);
    alSourceQueueBuffers(source_, 1, &buffer);
}

void MusicPlayer::keep_fed()
{
    while (queued_ < buffers_.size())
        queue_mixed(buffers_[queued_++]);
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        queue_mixed(buffer);
    }
    // Starved (the machine stalled longer than the queue lasts), a source
    // stops: it starts again from what is queued.
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING)
        alSourcePlay(source_);
}
