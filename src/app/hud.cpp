#include "app/hud.h"

#include "app/editor_controls.h"
#include "app/input_names.h"
#include "app/menu.h"
#include "app/player_input.h"

#include "game/command_names.h"
#include "game/game.h"
#include "language/language.h"
#include "world/assist.h"
#include "world/level_loader.h"

#include <algorithm>

namespace {

constexpr double CARD_HOLD = 2.5;    // seconds a title card stays whole
constexpr double CARD_FADE = 0.6;    // seconds it takes to fade out
constexpr double MESSAGE_HOLD = 4.0; // seconds a message stays
constexpr size_t MOST_MESSAGES = 3;  // shown at once, the newest lowest
constexpr float MESSAGES_BOTTOM = 0.84f; // the newest message's last baseline

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

// A row of F1's panel: the commands it shows the chords of, what the
// keyboard and the pad show while they are the game's own, and what the
// commands do. A row without commands is the mouse's or the quit key's.
struct HelpRow {
    std::vector<Command> commands;
    const char* keys;
    const char* pad;
    const char* words;
};

using C = Command;
const HelpRow HELP[] = {
    {{C::TURN_LEFT, C::TURN_RIGHT}, "A, D", N_("D-pad, stick: left, right"), N_("turn the heading round: +x, +z, -x, -z")},
    {{C::HEAD_UP, C::HEAD_DOWN}, "W, S", N_("D-pad, stick: up, down"), N_("point the heading up or down")},
    {{C::LAUNCH}, "Space", "A", N_("launch the ship")},
    {{C::RESTART}, "R", "Y", N_("start the level again")},
    {{C::UNDO}, "U", "B", N_("take back a launch, or the restart")},
    {{C::HINT}, "H", "X", N_("point along a shortest way")},
    {{C::NEXT_LEVEL, C::PREVIOUS_LEVEL}, "PageDown, PageUp", "RB, LB", N_("the next or the previous level")},
    {{C::FIRST_LEVEL, C::FURTHEST_LEVEL}, "Home, End", "Back+LB, Back+RB", N_("level 1, the furthest open level")},
    {{C::MUTE}, "M", N_("left stick click"), N_("sound off and on")},
    {{C::EDIT}, "E", "Back+Start", N_("edit this level")},
    {{C::MENU}, "F2", "Start", N_("the menu: levels, options, keys, quit")},
    {{}, N_("Mouse, wheel"), N_("Right stick, LT, RT"), N_("turn and move the camera")},
    {{C::HELP}, "F1", "Back", N_("show or hide this help")},
    {{C::TOGGLE_WIREFRAME}, "F3", nullptr, N_("wire frame")},
    {{C::TOGGLE_SAMPLING, C::CYCLE_MIPMAPS}, "F4, F5", nullptr, N_("texture sampling, mipmaps")},
    {{C::TOGGLE_WHOLE_SCREEN}, "F11", nullptr, N_("the whole screen or a window")},
    {{}, "Escape", "Escape", N_("quit")},
};

// The keys of the level editor, as F1 shows them there.
const HelpRow EDITOR_HELP[] = {
    {{C::CURSOR_AWAY, C::CURSOR_NEARER, C::CURSOR_RIGHT, C::CURSOR_LEFT}, N_("Arrows"), N_("D-pad, stick"),
     N_("move the cursor across the view")},
    {{C::LAYER_UP, C::LAYER_DOWN}, "PageUp, PageDown", "RB, LB", N_("move the cursor up or down")},
    {{C::PLACE_CUBE, C::PLACE_BEAMER}, "1, 2", "A, X", N_("put a cube, a beamer")},
    {{C::PLACE_SHIP_START, C::PLACE_GOAL}, "5, 6", N_("right stick click, Y"), N_("put the ship's start, the goal (it moves)")},
    {{C::EMPTY_CELL}, "0, Delete", "B", N_("empty the cell")},
    {{C::GROW, C::SHRINK}, "+, -", N_("Back+d-pad up, down"), N_("grow or shrink the grid, 2 to 16 a side")},
    {{C::EDIT_UNDO, C::EDIT_REDO}, "Ctrl+Z, Ctrl+Y", "LT, RT", N_("undo, redo")},
    {{C::SAVE}, "Ctrl+S", "Back+A", N_("save the level's file")},
    {{C::NEW_LEVEL}, "Ctrl+N", "Back+Y", N_("a new level of your own")},
    {{C::PLAY_TEST}, "Tab", "Back+X", nullptr},
    {{C::COPY_LEVEL, C::PASTE_LEVEL}, "Ctrl+C, Ctrl+V", "Back+LB, Back+RB", N_("copy as a code, paste a code as a new level")},
    {{C::SOLVER_VIEW}, "V", "Back+B", N_("the solver's view: rests, dead ends, a shortest way")},
    {{C::EDIT}, "E", "Back+Start", N_("leave the editor")},
    {{}, N_("Mouse, wheel"), N_("Right stick, Back+LT, Back+RT"), N_("turn and move the camera")},
    {{C::HELP}, "F1", "Back", N_("show or hide this help")},
    {{}, "Escape", "Escape", N_("quit")},
};

// What the row's first column shows: the game's own words for its chords
// while they are unchanged, and the chords themselves once the player chose.
std::string help_keys(const HelpRow& row)
{
    const bool pad = player_input().pad_used_last;
    const char* own = pad ? row.pad : row.keys;
    if (own != nullptr && (row.commands.empty() || shown_unchanged(row.commands)))
        return tr(own);
    return shown_chords(row.commands);
}

constexpr float HELP_KEYS_END = 0.4f;    // where the column of keys ends
constexpr float HELP_WORDS_START = 0.43f; // where what they do begins

std::string launches_text(int32_t count)
{
    return fill(tr_n("{count} launch", "{count} launches", static_cast<uint64_t>(count)),
                {{"count", std::to_string(count)}});
}

std::string par_text(int32_t par)
{
    return par > 0 ? fill(tr("par {par}"), {{"par", std::to_string(par)}}) : tr("no way to the goal");
}

// The parts of a line, such as the status line's, one after another.
const char* const SEPARATOR = " \u00b7 ";

// The text cut into lines no wider than `most_width`: at spaces where it
// can be, and a word wider than that between its characters.
std::vector<std::string> wrapped(const std::string& text, float height, float most_width, const TextWidth& width)
{
    if (!width || width(text, height) <= most_width)
        return {text};
    std::vector<std::string> lines;
    std::string line;
    const auto fits = [&](const std::string& candidate) { return width(candidate, height) <= most_width; };
    size_t at = 0;
    while (at < text.size()) {
        const size_t space = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, space - at);
        at = space + 1;
        const std::string longer = line.empty() ? word : line + " " + word;
        if (fits(longer)) {
            line = longer;
            continue;
        }
        if (!line.empty())
            lines.push_back(line);
        line.clear();
        // A word wider than the window goes a character at a time.
        for (size_t k = 0; k < word.size();) {
            size_t next = k + 1;
            while (next < word.size() && (static_cast<unsigned char>(word[next]) & 0xC0) == 0x80)
                ++next;
            const std::string piece = word.substr(k, next - k);
            if (!line.empty() && !fits(line + piece)) {
                lines.push_back(line);
                line.clear();
            }
            line += piece;
            k = next;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// Adds the line, wrapped to the window less its margins: each further line
// goes below it, or, for a line at the bottom, the lines go up from it.
void add_wrapped(HudFrame& frame, HudLine line, const TextWidth& width, bool upwards = false)
{
    const float most_width = line.align == HudAlign::LEFT ? 1.0f - MARGIN - line.at.x : 1.0f - 2.0f * MARGIN;
    std::vector<std::string> lines = wrapped(line.text, line.height, most_width, width);
    const float step = line.height * LINE_GAP;
    if (upwards)
        line.at.y -= step * static_cast<float>(lines.size() - 1);
    for (std::string& text : lines) {
        line.text = std::move(text);
        frame.lines.push_back(line);
        line.at.y += step;
    }
}

// Where a panel's side or column at x goes when the text is s times its
// middle size: it spreads from the middle with the text, within the window.
float spread(float x, float s)
{
    return std::clamp(0.5f + (x - 0.5f) * s, 0.01f, 0.99f);
}

// How much of the card is left: whole while it holds, then fading to none.
float card_alpha(double now, double fade_at)
{
    if (now <= fade_at)
        return 1.0f;
    return static_cast<float>(std::max(0.0, 1.0 - (now - fade_at) / CARD_FADE));
}

} // namespace

bool operator==(const HudLine& a, const HudLine& b)
{
    return a.text == b.text && a.at == b.at && a.height == b.height && a.colour == b.colour &&
           a.align == b.align && a.backed == b.backed;
}

bool operator==(const HudPanel& a, const HudPanel& b)
{
    return a.from == b.from && a.to == b.to && a.colour == b.colour;
}

bool operator==(const HudFrame& a, const HudFrame& b)
{
    return a.panels == b.panels && a.lines == b.lines;
}

void Hud::start_card(const Game& game, double now, std::string heading)
{
    shown_level_ = game.level_number;
    par_ = game.par;
    card_.clear();
    card_.push_back(std::move(heading));
    card_.push_back(level_label(game.level_number, game.level_set));
    card_.push_back(game.level_name.empty() ? "" : level_title(game.level_name, game.level_number, game.level_set));
    card_.push_back(par_text(par_));
    card_fade_at_ = now + CARD_HOLD;
}

void Hud::add_message(std::string text, double now)
{
    messages_.push_back({std::move(text), now + MESSAGE_HOLD});
    if (messages_.size() > MOST_MESSAGES)
        messages_.erase(messages_.begin());
}

void Hud::update(const Game& game, double now)
{
    std::string heading;
    bool new_level = shown_level_ == 0;
    if (new_level) {
        const int32_t furthest = furthest_open_level(game);
        if (furthest > game.level_number)
            heading = fill(tr("{key}: continue at level {level}"),
                           {{"key", shown_chord(Command::FURTHEST_LEVEL)}, {"level", std::to_string(furthest)}});
    }
    for (const WorldEvent& event : game.events) {
        switch (event.kind) {
        case WorldEventKind::SOLVED: {
            if (game.edit_mode != EditMode::OFF) {
                // A play-test's goal: the editor is back, and the card would
                // cover its lines.
                add_message(fill(tr_n("The goal in {count} launch.", "The goal in {count} launches.",
                                      static_cast<uint64_t>(event.launches)),
                                 {{"count", std::to_string(event.launches)}}),
                            now);
                break;
            }
            heading = fill(tr_n("{level} solved in {count} launch ({par})", "{level} solved in {count} launches ({par})",
                                static_cast<uint64_t>(event.launches)),
                           {{"level", level_label(event.level, game.level_set)},
                            {"count", std::to_string(event.launches)},
                            {"par", par_text(par_)}});
            const auto best = game.progress.best_launches.find(level_file_number(event.level, game.level_file_count));
            if (best != game.progress.best_launches.end() && best->second == event.launches)
                heading += SEPARATOR + tr("your best");
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
            add_message(fill(tr("No way to the goal from here: press {key} to start again."),
                             {{"key", shown_chord(Command::RESTART)}}),
                        now);
            break;
        case WorldEventKind::ENDLESS:
            add_message(tr("The beamers send the ship round for ever: the level starts again."), now);
            break;
        default:
            break;
        }
    }
    if (game.sound_muted != muted_seen_) {
        muted_seen_ = game.sound_muted;
        if (!game.sound_on)
            add_message(tr("Sound is off in tirak.inp (sound = no)."), now);
        else
            add_message(game.sound_muted
                            ? fill(tr("Sound off: {key} turns it on again."), {{"key", shown_chord(Command::MUTE)}})
                            : tr("Sound on."),
                        now);
    }
    // The editor's lines take the card's place.
    if (game.edit_mode == EditMode::EDITING)
        card_fade_at_ = std::min(card_fade_at_, now);
    for (const std::string& line : game.said)
        add_message(line, now);
    if (new_level)
        start_card(game, now, heading);
    // The level as it is now: an edit saved, or the editor left, changes it.
    par_ = game.par;
}

HudFrame Hud::frame(const Game& game, double now, const TextWidth& width) const
{
    HudFrame frame;
    // The help panel and the menu cover the middle of the window: the card
    // and the messages would show through, so they wait behind them, their
    // time running on.
    const bool menu_shown = game.menu && game.menu->is_open();
    const bool covered = game.help_shown || menu_shown;
    const float s = text_scale(game.options.text_size);
    // With the text off only what was asked for shows: F1's panel or the
    // menu, through which the text comes back on.
    const bool text = game.text_shown;
    const float alpha = covered || !text ? 0.0f : card_alpha(now, card_fade_at_);
    if (alpha > 0.0f && !card_.empty()) {
        const float heights[] = {SMALL_HEIGHT * s, TITLE_HEIGHT * s, NAME_HEIGHT * s, SMALL_HEIGHT * s};
        const glm::vec4 colours[] = {GOLD, WHITE, PALE, PALE};
        // In the upper part of the window, above most of the level.
        float y = 0.04f;
        for (size_t line = 0; line < card_.size(); ++line) {
            if (card_[line].empty())
                continue;
            y += heights[line] * LINE_GAP;
            add_wrapped(frame, {card_[line], {0.5f, y}, heights[line], colours[line] * glm::vec4(1, 1, 1, alpha),
                                HudAlign::CENTRE, true}, width);
        }
    }

    if (text && game.edit_mode == EditMode::EDITING && game.editor)
        add_editor_lines(game, frame, width, s);
    else if (text)
        add_status(game, frame, width, s);
    if (text && game.edit_mode == EditMode::TESTING)
        frame.lines.push_back({fill(tr("Playing the level being edited: {key} goes back to the editor"),
                                    {{"key", shown_chord(Command::PLAY_TEST)}}),
                               {MARGIN, MARGIN + SMALL_HEIGHT * s}, SMALL_HEIGHT * s, GOLD, HudAlign::LEFT, true});

    if (menu_shown)
        add_menu(game, frame, s);
    else if (game.help_shown)
        add_help(game.edit_mode == EditMode::EDITING, frame, width, s);
    else if (text)
        add_messages(now, frame, width, s);
    return frame;
}

// The level's number, name, launches and par, and the help key, in the
// bottom left corner.
void Hud::add_status(const Game& game, HudFrame& frame, const TextWidth& width, float s) const
{
    std::string status = level_title(game.level_name, game.level_number, game.level_set);
    if (!game.level_name.empty())
        status = level_label(game.level_number, game.level_set) + SEPARATOR + status;
    status += SEPARATOR + launches_text(static_cast<int32_t>(game.aids.launches.size()));
    if (game.edit_mode == EditMode::OFF)
        status += SEPARATOR + par_text(par_);
    if (game.sound_on && game.sound_muted)
        status += SEPARATOR + fill(tr("{key}: sound off"), {{"key", shown_chord(Command::MUTE)}});
    // TRANSLATORS: last on the status line: the key that shows every key
    // and what it does, as in "F1 keys".
    status += SEPARATOR + fill(tr("{key} keys"), {{"key", shown_chord(Command::HELP)}});
    add_wrapped(frame, {status, {MARGIN, 1.0f - MARGIN}, STATUS_HEIGHT * s, PALE, HudAlign::LEFT}, width, true);
}

// The level being edited: its file and the cursor at the top, and at the
// bottom what the solver makes of it, after every edit.
void Hud::add_editor_lines(const Game& game, HudFrame& frame, const TextWidth& width, float s) const
{
    const LevelDraft& draft = game.editor->editor.draft();
    const Cell& at = game.edit_cursor;
    std::string where =
        fill(tr("Editing {file}"), {{"file", draft.file_name}}) + SEPARATOR +
        fill(tr_n("{count} cell a side", "{count} cells a side", static_cast<uint64_t>(draft.grid.size)),
             {{"count", std::to_string(draft.grid.size)}}) +
        SEPARATOR +
        fill(tr("cursor {x} {y} {z}"),
             {{"x", std::to_string(at[0])}, {"y", std::to_string(at[1])}, {"z", std::to_string(at[2])}});
    if (game.editor->unsaved)
        where += SEPARATOR + tr("not saved");
    where += SEPARATOR + fill(tr("{key} keys"), {{"key", shown_chord(Command::HELP)}});
    add_wrapped(frame, {where, {MARGIN, MARGIN + SMALL_HEIGHT * s}, SMALL_HEIGHT * s, PALE, HudAlign::LEFT, true},
                width);
    add_wrapped(frame,
                {game.editor->editor.shown_status(), {MARGIN, 1.0f - MARGIN}, SMALL_HEIGHT * s, WHITE, HudAlign::LEFT, true},
                width, true);
}

// The messages still shown, the newest lowest, each wrapped to the window.
void Hud::add_messages(double now, HudFrame& frame, const TextWidth& width, float s) const
{
    HudFrame shown;
    float y = 0.0f;
    for (const Message& message : messages_)
        if (now < message.until) {
            add_wrapped(shown, {message.text, {0.5f, y}, SMALL_HEIGHT * s, GOLD, HudAlign::CENTRE, true}, width);
            y = shown.lines.back().at.y + SMALL_HEIGHT * s * LINE_GAP;
        }
    if (shown.lines.empty())
        return;
    const float lift = MESSAGES_BOTTOM - shown.lines.back().at.y;
    for (HudLine& line : shown.lines) {
        line.at.y += lift;
        frame.lines.push_back(std::move(line));
    }
}

void Hud::add_help(bool editing, HudFrame& frame, const TextWidth& width, float s) const
{
    const HelpRow* help = editing ? EDITOR_HELP : HELP;
    const size_t count = editing ? std::size(EDITOR_HELP) : std::size(HELP);
    const float step = HELP_HEIGHT * s * LINE_GAP;
    const float top = 0.5f - step * static_cast<float>(count) / 2.0f;
    const float keys_end = spread(HELP_KEYS_END, s);
    const float words_start = spread(HELP_WORDS_START, s);
    // The panel holds the longest line, which in some languages is longer
    // than the English the columns were placed for.
    float left = spread(0.12f, s);
    float right = spread(0.88f, s);
    const float pad = HELP_HEIGHT * s * 0.5f;
    float y = top;
    for (size_t row = 0; row < count; ++row) {
        y += step;
        const std::string keys = help_keys(help[row]);
        const std::string words = help[row].words != nullptr
                                      ? tr(help[row].words)
                                      : fill(tr("play it from its start; {key} comes back"),
                                             {{"key", shown_chord(Command::PLAY_TEST)}});
        if (width) {
            left = std::min(left, keys_end - width(keys, HELP_HEIGHT * s) - pad);
            right = std::max(right, words_start + width(words, HELP_HEIGHT * s) + pad);
        }
        frame.lines.push_back({keys, {keys_end, y}, HELP_HEIGHT * s, GOLD, HudAlign::RIGHT});
        frame.lines.push_back({words, {words_start, y}, HELP_HEIGHT * s, WHITE, HudAlign::LEFT});
    }
    frame.panels.push_back({{std::max(left, 0.0f), top - step},
                            {std::min(right, 1.0f), top + step * (static_cast<float>(count) + 0.6f)}, SHADE});
}

namespace {

constexpr float MENU_HEIGHT = 0.04f;
constexpr size_t MENU_LEVEL_ROWS = 11; // levels shown at once, the cursor's among them

// A command of the keys screen: its settings name, its keys and its buttons.
std::string key_row(Command command)
{
    const PlayerInput& input = player_input();
    return fill(tr("{command}: {keys}"),
                {{"command", command_name(command)}, {"keys", listed_chords(input.keys.chords_for(command), key_label)}}) +
           // TRANSLATORS: the game pad's buttons for a command, after its keys.
           SEPARATOR + fill(tr("pad {buttons}"), {{"buttons", listed_chords(input.pad.chords_for(command), pad_label)}});
}

std::string level_row(const MenuLevel& level)
{
    // The player's own come after ours, each marked as theirs.
    const std::string number = level.set == LevelSet::OWN
                                   // TRANSLATORS: the number of one of the player's own levels in the list of levels.
                                   ? fill(tr("yours {number}"), {{"number", std::to_string(level.number)}})
                                   : std::to_string(level.number);
    const std::string row = number + SEPARATOR + level.title + SEPARATOR;
    if (!level.open)
        // TRANSLATORS: a level not yet open to play in the list of levels.
        return row + tr("closed");
    if (level.best > 0)
        return row + fill(tr_n("solved in {count} launch, {par}", "solved in {count} launches, {par}",
                               static_cast<uint64_t>(level.best)),
                          {{"count", std::to_string(level.best)}, {"par", par_text(level.par)}});
    return row + par_text(level.par);
}

} // namespace

void Hud::add_menu(const Game& game, HudFrame& frame, float s) const
{
    const Menu& menu = *game.menu;
    std::vector<std::string> rows;
    size_t cursor = menu.cursor();
    if (menu.screen() == MenuScreen::MAIN) {
        rows = Menu::main_rows();
    } else if (menu.screen() == MenuScreen::OPTIONS) {
        rows = Menu::option_rows(options_of(game));
    } else {
        // A window of the long lists round the cursor.
        const bool levels = menu.screen() == MenuScreen::LEVELS;
        const size_t count = levels ? menu.levels().size() : Menu::key_commands().size();
        const size_t first = std::min(cursor > MENU_LEVEL_ROWS / 2 ? cursor - MENU_LEVEL_ROWS / 2 : 0,
                                      count > MENU_LEVEL_ROWS ? count - MENU_LEVEL_ROWS : 0);
        for (size_t row = first; row < std::min(count, first + MENU_LEVEL_ROWS); ++row)
            rows.push_back(levels ? level_row(menu.levels()[row]) : key_row(Menu::key_commands()[row]));
        cursor -= first;
    }
    const float height = MENU_HEIGHT * s;
    const float step = height * LINE_GAP;
    const float shown = static_cast<float>(rows.size() + 3);
    const float top = 0.5f - step * shown / 2.0f;
    frame.panels.push_back({{spread(0.1f, s), top - step * 0.4f}, {spread(0.9f, s), top + step * (shown + 0.4f)}, SHADE});
    float y = top + step;
    const char* const titles[] = {N_("Tirak"), N_("Levels"), N_("Options"), N_("Keys")};
    frame.lines.push_back({tr(titles[static_cast<size_t>(menu.screen())]), {0.5f, y}, height * 1.2f, GOLD,
                           HudAlign::CENTRE});
    y += step;
    const size_t first_level = menu.screen() == MenuScreen::LEVELS ? menu.cursor() - cursor : 0;
    for (size_t row = 0; row < rows.size(); ++row) {
        y += step;
        const bool at = row == cursor;
        const bool closed = menu.screen() == MenuScreen::LEVELS && !menu.levels()[first_level + row].open;
        frame.lines.push_back({(at ? "\u2192 " : "") + rows[row], {0.5f, y}, height,
                               at ? GOLD : closed ? PALE : WHITE, HudAlign::CENTRE});
    }
    y += step;
    const std::string footer =
        menu.awaiting()
            ? fill(tr("Press a key or a pad button for {command}"), {{"command", command_name(*menu.awaiting())}}) +
                  SEPARATOR + fill(tr("{key} keeps it as it is"), {{"key", shown_chord(Command::MENU)}})
            : fill(tr("{key} chooses"), {{"key", shown_chord(Command::MENU_CHOOSE)}}) + SEPARATOR +
                  fill(tr("{key} goes back"), {{"key", shown_chord(Command::MENU_BACK)}}) + SEPARATOR +
                  fill(tr("{key} closes"), {{"key", shown_chord(Command::MENU)}});
    frame.lines.push_back({footer, {0.5f, y}, SMALL_HEIGHT * s, menu.awaiting() ? GOLD : PALE, HudAlign::CENTRE});
}
