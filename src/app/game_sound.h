// The game's sound: the reader thread opens the output and reads the sound
// files, and every frame then plays what the world did, heard from the
// camera. Without an output or with sound off it stays silent and costs
// nothing.
#pragma once

#include "app/resource_preload.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class Game;
class SoundOutput;

class GameSound {
public:
    // `trace`, when not empty, names a file that gets a line for every
    // sound played: the output's clock in seconds, then the sound's file,
    // then "muted" when M kept it silent.
    explicit GameSound(std::string trace = "");
    ~GameSound();
    GameSound(const GameSound&) = delete;
    GameSound& operator=(const GameSound&) = delete;

    // The reader thread's part: opens the output and reads every sound.
    ResourcePreload::Job loading_job();
    // Once per frame, after the world's update: takes the loaded sounds as
    // soon as they are there, then plays the frame's events.
    void play_frame(const Game& game);

private:
    struct Loaded {
        std::mutex mutex;
        bool done = false;
        std::unique_ptr<SoundOutput> output;
        std::vector<std::string> problems; // one line each
    };
    void take_loaded();

    std::shared_ptr<Loaded> loaded_;
    bool taken_ = false;
    std::unique_ptr<SoundOutput> output_;
    bool muted_ = false;
    std::FILE* trace_ = nullptr;
};
