#include "app/hud.h"

#include "app/editor_controls.h"

#include "game/game.h"
#include "world/assist.h"
#include "world/game_ship.h"
#include "world/level_loader.h"
#include "world/level_search.h"

#include <algorithm>

namespace {

constexpr double CARD_HOLD = 2.5;    // seconds a title card stays whole
constexpr double CARD_FADE = 0.6;    // seconds it takes to fade out
constexpr double MESSAGE_HOLD = 4.0; // seconds a message stays

// Heights in fractions of the framebuffer's height.
constexpr float TITLE_HEIGHT = 0.09f;
constexpr float NAME_HEIGHT = 0.055f;
constexpr float SMALL_HEIGHT = 0.036f;
constexpr float STATUS_HEIGHT = 0.03f;
constexpr float HELP_HEIGHT = 0.03f;
constexpr float LINE_GAP = 1.3f; // baseline to baseline, in line heights
constexpr float MARGIN = 0.025f;

const glm::vec4 WHITE{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 PALE{0.78f, 0.86f, 1.0f, 1.0f};
const glm::vec4 GOLD{1.0f, 0.84f, 0.45f, 1.0f};
const glm::vec4 SHADE{0.02f, 0.03f, 0.08f, 0.8f};

// Every key the game answers to, as F1 shows them: the keys, what they do.
const char* const HELP[][2] = {
    {"A, D", "turn the heading round: +x, +z, -x, -z"},
    {"W, S", "point the heading up or down"},
    {"Space", "launch the ship"},
    {"R", "start the level again"},
    {"U", "take back a launch, or the restart"},
    {"H", "point along a shortest way"},
    {"PageDown, PageUp", "the next or the previous level"},
    {"Home, End", "level 1, the furthest open level"},
    {"M", "sound off and on"},
    {"E", "edit this level"},
    {"Mouse, wheel", "turn and move the camera"},
    {"F1", "show or hide this help"},
    {"F3", "wire frame"},
    {"F4, F5", "texture sampling, mipmaps"},
    {"Escape", "quit"},
};

// The keys of the level editor, as F1 shows them there.
const char* const EDITOR_HELP[][2] = {
    {"Arrows", "move the cursor across the view"},
    {"PageUp, PageDown", "move the cursor up or down"},
    {"1, 2", "put a cube, a beamer"},
    {"5, 6", "put the ship's start, the goal (it moves)"},
    {"0, Delete", "empty the cell"},
    {"+, -", "grow or shrink the grid, 2 to 16 a side"},
    {"Ctrl+Z, Ctrl+Y", "undo, redo"},
    {"Ctrl+S", "save the level's file"},
    {"Ctrl+N", "a new level in the next free file"},
    {"Tab", "play it from its start; Tab comes back"},
    {"E", "leave the editor"},
    {"Mouse, wheel", "turn and move the camera"},
    {"F1", "show or hide this help"},
    {"Escape", "quit"},
};
constexpr float HELP_KEYS_END = 0.4f;    // where the column of keys ends
constexpr float HELP_WORDS_START = 0.43f; // where what they do begins

std::string count_text(int32_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string par_text(int32_t par)
{
    return par > 0 ? "par " + std::to_string(par) : "no way to the goal";
}

// How much of the card is left: whole while it holds, then fading to none.
float card_alpha(double now, double fade_at)
{
    if (now <= fade_at)
        return 1.0f;
    return static_cast<float>(std::max(0.0, 1.0 - (now - fade_at) / CARD_FADE));
}

} // namespace

void Hud::start_card(const Game& game, double now, std::string heading)
{
    shown_level_ = game.level_number;
    // The level was built this frame, so the ship rests at its start.
    const LevelSearch search = search_level(*game.level_grid, resting_ship(game));
    par_ = search.solvable ? static_cast<int32_t>(search.solution.size()) : 0;

    card_.clear();
    card_.push_back(std::move(heading));
    card_.push_back("Level " + std::to_string(game.level_number));
    card_.push_back(game.level_name);
    card_.push_back(par_text(par_));
    card_fade_at_ = now + CARD_HOLD;
}

void Hud::update(const Game& game, double now)
{
    std::string heading;
    bool new_level = shown_level_ == 0;
    if (new_level) {
        const int32_t furthest = furthest_open_level(game);
        if (furthest > game.level_number)
            heading = "End: continue at level " + std::to_string(furthest);
    }
    for (const WorldEvent& event : game.events) {
        switch (event.kind) {
        case WorldEventKind::SOLVED: {
            if (game.edit_mode != EditMode::OFF) {
                // A play-test's goal: the editor is back, and the card would
                // cover its lines.
                message_ = "The goal in " + count_text(event.launches, "launch", "launches") + ".";
                message_until_ = now + MESSAGE_HOLD;
                break;
            }
            heading = "Level " + std::to_string(event.level) + " solved in " +
                      count_text(event.launches, "launch", "launches") + " (" + par_text(par_) + ")";
            const auto best = game.progress.best_launches.find(level_file_number(event.level, game.level_file_count));
            if (best != game.progress.best_launches.end() && best->second == event.launches)
                heading += " \u00b7 your best";
            new_level = true;
            break;
        }
        case WorldEventKind::CHOSEN:
            heading.clear();
            new_level = true;
            break;
        case WorldEventKind::LAUNCHED:
            card_fade_at_ = std::min(card_fade_at_, now);
            break;
        case WorldEventKind::NO_WAY:
            message_ = NO_WAY_LINE;
            message_until_ = now + MESSAGE_HOLD;
            break;
        case WorldEventKind::ENDLESS:
            message_ = "The beamers send the ship round for ever: the level starts again.";
            message_until_ = now + MESSAGE_HOLD;
            break;
        default:
            break;
        }
    }
    if (game.sound_muted != muted_seen_) {
        muted_seen_ = game.sound_muted;
        if (!game.sound_on)
            message_ = "Sound is off in tirak.inp (sound = no).";
        else
            message_ = game.sound_muted ? "Sound off: M turns it on again." : "Sound on.";
        message_until_ = now + MESSAGE_HOLD;
    }
    // The editor's lines take the card's place.
    if (game.edit_mode == EditMode::EDITING)
        card_fade_at_ = std::min(card_fade_at_, now);
    if (game.edit_said_count != said_seen_) {
        said_seen_ = game.edit_said_count;
        message_ = game.edit_said;
        message_until_ = now + MESSAGE_HOLD;
    }
    if (new_level)
        start_card(game, now, heading);
}

HudFrame Hud::frame(const Game& game, double now) const
{
    HudFrame frame;
    const float alpha = card_alpha(now, card_fade_at_);
    if (alpha > 0.0f && !card_.empty()) {
        const float heights[] = {SMALL_HEIGHT, TITLE_HEIGHT, NAME_HEIGHT, SMALL_HEIGHT};
        const glm::vec4 colours[] = {GOLD, WHITE, PALE, PALE};
        // In the upper part of the window, above most of the level.
        float y = 0.04f;
        for (size_t line = 0; line < card_.size(); ++line) {
            if (card_[line].empty())
                continue;
            y += heights[line] * LINE_GAP;
            frame.lines.push_back({card_[line], {0.5f, y}, heights[line], colours[line] * glm::vec4(1, 1, 1, alpha),
                                   HudAlign::CENTRE, true});
        }
    }

    if (game.edit_mode == EditMode::EDITING && game.editor) {
        add_editor_lines(game, frame);
    } else {
        std::string status = level_title(game.level_name, game.level_number);
        if (!game.level_name.empty())
            status = "Level " + std::to_string(game.level_number) + " \u00b7 " + status;
        status += " \u00b7 " + count_text(static_cast<int32_t>(game.aids.launches.size()), "launch", "launches");
        if (game.edit_mode == EditMode::OFF)
            status += " \u00b7 " + par_text(par_);
        if (game.sound_on && game.sound_muted)
            status += " \u00b7 M: sound off";
        status += " \u00b7 F1 keys";
        frame.lines.push_back({status, {MARGIN, 1.0f - MARGIN}, STATUS_HEIGHT, PALE, HudAlign::LEFT});
    }
    if (game.edit_mode == EditMode::TESTING)
        frame.lines.push_back({"Playing the level being edited: Tab goes back to the editor",
                               {MARGIN, MARGIN + SMALL_HEIGHT}, SMALL_HEIGHT, GOLD, HudAlign::LEFT, true});

    if (now < message_until_)
        frame.lines.push_back({message_, {0.5f, 0.8f}, SMALL_HEIGHT, GOLD, HudAlign::CENTRE, true});

    if (game.help_shown)
        add_help(game.edit_mode == EditMode::EDITING, frame);
    return frame;
}

// The level being edited: its file and the cursor at the top, and at the
// bottom what the solver makes of it, after every edit.
void Hud::add_editor_lines(const Game& game, HudFrame& frame) const
{
    const LevelDraft& draft = game.editor->editor.draft();
    const Cell& at = game.edit_cursor;
    const std::string where = "Editing " + draft.file_name + " \u00b7 " + std::to_string(draft.grid.size) +
                              " cells a side \u00b7 cursor " + std::to_string(at[0]) + " " + std::to_string(at[1]) +
                              " " + std::to_string(at[2]) + (game.editor->unsaved ? " \u00b7 not saved" : "") +
                              " \u00b7 F1 keys";
    frame.lines.push_back({where, {MARGIN, MARGIN + SMALL_HEIGHT}, SMALL_HEIGHT, PALE, HudAlign::LEFT, true});
    frame.lines.push_back({game.editor->editor.status(), {MARGIN, 1.0f - MARGIN}, SMALL_HEIGHT, WHITE,
                           HudAlign::LEFT, true});
}

void Hud::add_help(bool editing, HudFrame& frame) const
{
    const char* const(*help)[2] = editing ? EDITOR_HELP : HELP;
    const size_t count = editing ? std::size(EDITOR_HELP) : std::size(HELP);
    const float step = HELP_HEIGHT * LINE_GAP;
    const float top = 0.5f - step * static_cast<float>(count) / 2.0f;
    frame.panels.push_back({{0.12f, top - step}, {0.88f, top + step * (static_cast<float>(count) + 0.6f)}, SHADE});
    float y = top;
    for (size_t row = 0; row < count; ++row) {
        y += step;
        frame.lines.push_back({help[row][0], {HELP_KEYS_END, y}, HELP_HEIGHT, GOLD, HudAlign::RIGHT});
        frame.lines.push_back({help[row][1], {HELP_WORDS_START, y}, HELP_HEIGHT, WHITE, HudAlign::LEFT});
    }
}
