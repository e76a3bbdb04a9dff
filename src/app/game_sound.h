// The game's sound: the reader thread opens the output and reads the sound
// files, and every frame then plays what the world did, heard from the
// camera. Without an output or with sound off it stays silent and costs
// nothing.
#pragma once

#include "app/resource_preload.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <mutex>
#include <string>
#include <vector>

class Game;
class MusicPlayer;
class SoundOutput;

// Which piece plays at the level being played: one for each ten of ours,
// the last one for the levels after them and for the player's own.
size_t music_piece(const Game& game);

class GameSound {
public:
    // `trace`, when not empty, names a file that gets a line for every
    // sound played: the output's clock in seconds, then the sound's file,
    // then "muted" when M kept it silent; a line for every piece of music
    // asked for, by its file; and "behind" and "in front" as the window
    // loses the focus and gets it back.
    explicit GameSound(std::string trace = "");
    ~GameSound();
    GameSound(const GameSound&) = delete;
    GameSound& operator=(const GameSound&) = delete;

    // The reader thread's part: opens the output, reads every sound and,
    // given a piece, opens the music and starts that piece.
    ResourcePreload::Job loading_job(std::optional<size_t> first_piece);
    // Once per frame, after the world's update: takes the loaded sounds as
    // soon as they are there, then plays the frame's events.
    void play_frame(const Game& game);

private:
    struct Loaded {
        std::mutex mutex;
        bool done = false;
        std::unique_ptr<SoundOutput> output;
        std::unique_ptr<MusicPlayer> music; // on the output's context
        std::vector<std::string> problems;  // one line each
    };
    void take_loaded();
    void trace(const std::string& what) const;

    std::shared_ptr<Loaded> loaded_;
    bool taken_ = false;
    std::unique_ptr<SoundOutput> output_;
    std::unique_ptr<MusicPlayer> music_; // goes before the output it plays on
    bool muted_ = false;
    // Down to 0 while the window is in the background, and back; the clock
    // of the last frame, to fade by.
    float focus_gain_ = 1.0f;
    double last_frame_ = -1.0;
    bool heard_ = true;
    std::optional<size_t> piece_; // the music asked for last
    std::FILE* trace_ = nullptr;
};
