// The music: one OpenAL source fed with queued buffers that a thread of its
// own decodes a few hundred milliseconds ahead, so that no frame waits for a
// decode. A piece plays round for ever; a change of piece fades across in
// the mix that thread makes, so the one source never stops.
#pragma once

#include "sound/sound_stream.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// How long a change of piece takes to fade across.
constexpr double MUSIC_FADE_SECONDS = 2.0;

class MusicPlayer {
public:
    // Takes the pieces (a piece that could not be opened is none, and
    // playing it is silence) and makes its source on the OpenAL context
    // that is current. With `own_thread` false nothing feeds it but
    // keep_fed, as a test that renders the output in memory does.
    explicit MusicPlayer(std::vector<std::optional<SoundStream>> pieces, bool own_thread = true);
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // The piece to play from now on: the first starts at once, a change
    // fades across. Asking for the piece already playing changes nothing.
    void play(size_t piece);
    // 0 is silence, 1 the pieces as they were made.
    void set_gain(float gain);
    // Tops up the source's queue with freshly mixed buffers; the thread
    // does this every few milliseconds.
    void keep_fed();
    // The lines, each naming its file, of pieces whose decoder failed since
    // the last call: each is silent from then on.
    std::vector<std::string> take_problems();

private:
    // Adds the piece's next frames to the mix, its gain going from one
    // value to the other across them.
    void mix_into(std::vector<float>& mix, size_t piece, float from_gain, float to_gain);
    void queue_mixed(uint32_t buffer);

    std::vector<std::optional<SoundStream>> pieces_;
    uint32_t source_ = 0;
    std::array<uint32_t, 6> buffers_{};
    size_t queued_ = 0; // buffers given to the source once, before any came back

    std::mutex mutex_; // the wish, between the game's thread and the feeder
    std::optional<size_t> wanted_;
    // The feeder's own: the piece playing, the one fading out, and how far
    // the fade has come, in frames.
    std::optional<size_t> playing_, fading_;
    int64_t faded_frames_ = 0;

    std::atomic<bool> stopping_{false};
    std::condition_variable wake_;
    std::thread feeder_;
    std::vector<std::string> problems_; // for the game's thread to say, under the mutex
};
