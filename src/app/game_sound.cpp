#include "app/game_sound.h"

#include "game/game.h"
#include "platform/window.h"
#include "sound/music_player.h"
#include "sound/sound_cues.h"
#include "sound/sound_file.h"
#include "sound/sound_output.h"
#include "world/level_loader.h"

#include <algorithm>
#include <iostream>

namespace {

constexpr int32_t LEVELS_A_PIECE = 10;
// How long music and sounds take to fade out when the window goes to the
// background, and in when it comes back.
constexpr float FOCUS_FADE_SECONDS = 0.5f;

// The settings' volume, 0 to 100, as the listener's gain. Loudness is heard
// as the logarithm of power, so the square spreads the steps out evenly.
float volume_gain(int32_t volume)
{
    const float share = static_cast<float>(volume) / 100.0f;
    return share * share;
}

} // namespace

size_t music_piece(const Game& game)
{
    const size_t last = MUSIC_FILES.size() - 1;
    if (game.level_set == LevelSet::OWN)
        return last;
    const int32_t level = level_file_number(game.level_number, game.level_file_count);
    return std::min(static_cast<size_t>(std::max(level - 1, 0) / LEVELS_A_PIECE), last);
}

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

ResourcePreload::Job GameSound::loading_job(std::optional<size_t> first_piece)
{
    // The job shares the results rather than pointing into this object,
    // which may be gone before a stopped reader has finished.
    std::shared_ptr<Loaded> loaded = loaded_;
    return [loaded, first_piece](const ResourcePreload::StopCheck& stopping) {
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
        std::unique_ptr<MusicPlayer> music;
        if (output != nullptr && first_piece && !stopping()) {
            std::vector<std::optional<SoundStream>> pieces;
            for (const char* name : MUSIC_FILES) {
                Result<SoundStream> piece = SoundStream::open_file(name);
                if (!piece)
                    problems.push_back(piece.problem());
                pieces.push_back(piece ? std::optional<SoundStream>(std::move(piece.value())) : std::nullopt);
            }
            // Silent until the first frame sets its gain.
            output->set_gain(0.0f);
            music = std::make_unique<MusicPlayer>(std::move(pieces));
            music->play(*first_piece);
        }
        const std::lock_guard<std::mutex> lock(loaded->mutex);
        loaded->output = std::move(output);
        loaded->music = std::move(music);
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
    music_ = std::move(loaded_->music);
    for (const std::string& line : loaded_->problems)
        std::cerr << line << std::endl;
    if (output_)
        output_->make_current();
}

void GameSound::trace(const std::string& what) const
{
    if (trace_ == nullptr)
        return;
    std::fprintf(trace_, "%.6f %s\n", output_->clock_seconds(), what.c_str());
    std::fflush(trace_);
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
    const double now = platform::get_time();
    const float step = last_frame_ < 0.0 ? 1.0f : static_cast<float>(now - last_frame_) / FOCUS_FADE_SECONDS;
    last_frame_ = now;
    const bool heard = !game.mute_unfocused || platform::is_focused();
    if (heard != heard_)
        trace(heard ? "in front" : "behind");
    heard_ = heard;
    focus_gain_ = std::clamp(focus_gain_ + (heard ? step : -step), 0.0f, 1.0f);
    output_->set_gain(muted_ ? 0.0f : focus_gain_ * focus_gain_);
    output_->set_sounds_gain(volume_gain(game.sound_volume));
    if (music_) {
        music_->set_gain(game.music_on ? volume_gain(game.music_volume) : 0.0f);
        const size_t piece = music_piece(game);
        if (piece != piece_)
            trace(MUSIC_FILES[piece]);
        piece_ = piece;
        music_->play(piece);
        for (const std::string& line : music_->take_problems())
            std::cerr << line << std::endl;
    }
    output_->set_listener(game.camera_eye, game.camera_target, game.camera_up);
    for (const SoundCue& cue : cues_for(game.events, game.grid_size)) {
        if (!muted_)
            output_->play(cue);
        trace(std::string(SOUND_FILES[static_cast<size_t>(cue.sound)]) + (muted_ ? " muted" : ""));
    }
}
