#include "app/game_sound.h"

#include "game/game.h"
#include "sound/sound_cues.h"
#include "sound/sound_file.h"
#include "sound/sound_output.h"

#include <iostream>

namespace {

// The settings' volume, 0 to 100, as the listener's gain. Loudness is heard
// as the logarithm of power, so the square spreads the steps out evenly.
float volume_gain(int32_t volume)
{
    const float share = static_cast<float>(volume) / 100.0f;
    return share * share;
}

} // namespace

GameSound::GameSound(std::string trace) : loaded_(std::make_shared<Loaded>())
{
    if (!trace.empty())
        trace_ = std::fopen(trace.c_str(), "w");
}

GameSound::~GameSound()
{
    if (trace_ != nullptr)
        std::fclose(trace_);
}

ResourcePreload::Job GameSound::loading_job()
{
    // The job shares the results rather than pointing into this object,
    // which may be gone before a stopped reader has finished.
    std::shared_ptr<Loaded> loaded = loaded_;
    return [loaded](const ResourcePreload::StopCheck& stopping) {
        Result<std::unique_ptr<SoundOutput>> opened = SoundOutput::open_device();
        std::vector<std::string> problems;
        if (!opened)
            problems.push_back(opened.problem());
        std::unique_ptr<SoundOutput> output = opened ? std::move(opened.value()) : nullptr;
        for (int k = 0; output != nullptr && k < SOUND_COUNT && !stopping(); ++k) {
            const Result<SoundClip> file = read_sound_file(SOUND_FILES[static_cast<size_t>(k)]);
            if (file)
                output->load(static_cast<Sound>(k), file.value());
            else
                problems.push_back(file.problem());
        }
        const std::lock_guard<std::mutex> lock(loaded->mutex);
        loaded->output = std::move(output);
        loaded->problems = std::move(problems);
        loaded->done = true;
    };
}

void GameSound::take_loaded()
{
    const std::lock_guard<std::mutex> lock(loaded_->mutex);
    if (!loaded_->done)
        return;
    taken_ = true;
    output_ = std::move(loaded_->output);
    for (const std::string& line : loaded_->problems)
        std::cerr << line << std::endl;
    if (output_)
        output_->make_current();
}

void GameSound::play_frame(const Game& game)
{
    if (!taken_)
        take_loaded();
    if (!output_)
        return;
    if (game.sound_muted != muted_) {
        muted_ = game.sound_muted;
        if (muted_)
            output_->stop_all();
    }
    output_->set_gain(muted_ ? 0.0f : volume_gain(game.sound_volume));
    output_->set_listener(game.camera_eye, game.camera_target, game.camera_up);
    for (const SoundCue& cue : cues_for(game.events, game.grid_size)) {
        if (!muted_)
            output_->play(cue);
        if (trace_ != nullptr) {
            std::fprintf(trace_, "%.6f %s%s\n", output_->clock_seconds(), SOUND_FILES[static_cast<size_t>(cue.sound)],
                         muted_ ? " muted" : "");
            std::fflush(trace_);
        }
    }
}
