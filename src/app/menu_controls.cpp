#include "app/menu_controls.h"

#include "app/menu.h"
#include "config/config_file.h"
#include "game/command_names.h"
#include "game/game.h"
#include "game/player_lines.h"
#include "platform/window.h"
#include "progress/progress_file.h"
#include "settings/settings_text.h"
#include "world/assist.h"
#include "world/flight_rules.h"
#include "world/level_loader.h"
#include "world/level_search.h"

#include <memory>

namespace {

// A set's solves: the game's own for the set being played, read from the
// other set's file for the other.
Progress progress_of(const Game& game, LevelSet set)
{
    if (set == game.progress_set)
        return game.progress;
    ProgressRead read = read_progress(level_set_progress_file(set));
    return read.progress ? std::move(read.progress.value()) : Progress{};
}

// Every level file of a set as the list shows it, each solved again for its
// par.
void add_level_rows(const Game& game, LevelSet set, std::vector<MenuLevel>& rows)
{
    const int32_t count = set == game.level_set ? game.level_file_count : count_level_files(set);
    const Progress progress = progress_of(game, set);
    const int32_t furthest = set == LevelSet::OWN ? count : furthest_open_level(progress, game.start_level, count);
    for (int32_t number = 1; number <= count; ++number) {
        const std::string file = numbered_level_file(number, set);
        // The player's set may be empty; ours always lists its first level.
        if (set == LevelSet::OWN && !path_exists(file))
            break;
        MenuLevel row;
        row.number = number;
        row.set = set;
        row.open = number <= furthest;
        const auto best = progress.best_launches.find(number);
        row.best = best != progress.best_launches.end() ? best->second : 0;
        std::string name;
        try {
            if (const Result<PlayLevel> level = load_play_level(file)) {
                name = level->name;
                const LevelSearch search = search_level(level->grid, level->start);
                row.par = search.solvable ? static_cast<int32_t>(search.solution.size()) : 0;
            }
        } catch (const ConfigFile::file_not_found&) {
            // Listed by its number: choosing it says what is wrong, as
            // PageDown to it would.
        }
        row.title = level_title(name, number, set);
        rows.push_back(std::move(row));
    }
}

std::vector<MenuLevel> level_rows(const Game& game)
{
    std::vector<MenuLevel> rows;
    add_level_rows(game, LevelSet::SHIPPED, rows);
    add_level_rows(game, LevelSet::OWN, rows);
    return rows;
}

void close_menu(Game& game)
{
    game.menu->close();
    game.paused = false;
}

// Writes the changed setting into the file as the player wrote it; a file
// that cannot take it is said once each time, and the change holds.
void keep_setting(Game& game, const std::string& key, const std::string& value)
{
    const Result<> kept = change_settings(SETTINGS_FILE, {{key, value}});
    if (!kept)
        report_words(game, "{file}: {problem}; the change holds until the game ends.",
                     {{"file", SETTINGS_FILE}, {"problem", kept.problem()}});
}

std::string yes_no(bool yes)
{
    return yes ? "yes" : "no";
}

void set_sound(Game& game, bool on)
{
    game.sound_on = on;
    if (!game.sound) {
        if (on)
            report_words(game, "Sound comes on at the next start: no sound device was opened for this one.", {});
    } else {
        game.sound_muted = !on;
    }
    keep_setting(game, "sound", yes_no(on));
}

void set_music_volume(Game& game, int32_t volume)
{
    game.music_volume = volume;
    keep_setting(game, "music_volume", std::to_string(volume));
    if (volume > 0 && !game.music_on) {
        game.music_on = true;
        keep_setting(game, "music", "yes");
    }
    if (volume > 0 && !game.music_playing)
        report_words(game, "Music comes on at the next start: it was off at this one.", {});
}

} // namespace

void switch_whole_screen(Game& game)
{
    const bool whole = !platform::is_fullscreen();
    platform::set_fullscreen(whole);
    // The pointer is somewhere else on the new window: that is no motion.
    platform::get_mouse_pos(&game.last_mouse_x, &game.last_mouse_y);
    keep_setting(game, "fulscreen", yes_no(whole));
}

bool menu_open(const Game& game)
{
    return game.menu && game.menu->is_open();
}

void answer_menu(Game& game, Command command)
{
    if (!menu_open(game)) {
        if (command != Command::MENU || game.edit_mode != EditMode::OFF)
            return;
        if (!game.menu)
            game.menu = std::make_shared<Menu>();
        game.menu->open();
        game.paused = true;
        game.help_shown = false;
        return;
    }
    const MenuChoice choice = game.menu->answer(command, options_of(game));
    switch (choice.kind) {
    case MenuChoice::NONE: break;
    case MenuChoice::CONTINUE: close_menu(game); break;
    case MenuChoice::LEVELS:
        game.menu->show_levels(level_rows(game), level_file_number(game.level_number, game.level_file_count),
                               game.level_set);
        break;
    case MenuChoice::OPTIONS: game.menu->show_options(); break;
    case MenuChoice::KEYS: game.menu->show_keys(); break;
    case MenuChoice::WHOLE_SCREEN: switch_whole_screen(game); break;
    case MenuChoice::VOLUME:
        game.sound_volume = choice.value;
        keep_setting(game, "volume", std::to_string(choice.value));
        break;
    case MenuChoice::MUSIC_VOLUME: set_music_volume(game, choice.value); break;
    case MenuChoice::SOUND: set_sound(game, !game.sound_on); break;
    case MenuChoice::TEXT:
        game.text_shown = !game.text_shown;
        keep_setting(game, "text", yes_no(game.text_shown));
        break;
    case MenuChoice::TEXT_SIZE:
        game.options.text_size = static_cast<TextSize>(choice.value);
        keep_setting(game, "text_size", text_size_name(game.options.text_size));
        break;
    case MenuChoice::MOUSE_SPEED:
        game.options.mouse_speed = choice.value;
        keep_setting(game, "mouse_speed", std::to_string(choice.value));
        break;
    case MenuChoice::MOUSE_INVERT:
        game.options.mouse_inverted = !game.options.mouse_inverted;
        keep_setting(game, "mouse_invert", yes_no(game.options.mouse_inverted));
        break;
    case MenuChoice::HELP:
        close_menu(game);
        game.help_shown = true;
        break;
    case MenuChoice::QUIT: game.quit_requested = true; break;
    case MenuChoice::PLAY_LEVEL:
        close_menu(game);
        game.aids.chosen_level = choice.value;
        game.aids.chosen_set = choice.set;
        game.aids.level_choice = LevelChoice::NUMBER;
        break;
    }
}

bool awaiting_binding(const Game& game)
{
    return menu_open(game) && game.menu->awaiting();
}

void bind_from_menu(Game& game, Chord chord, const ChordSpelling& spelling, InputBindings& bindings)
{
    const Command command = *game.menu->awaiting();
    game.menu->stop_awaiting();
    if (bindings.command_for(chord, EditMode::OFF, true) == Command::MENU)
        return;
    const std::string name = command_name(command);
    if (const std::optional<Command> holder = bindings.rebind(command, chord)) {
        // TRANSLATORS: {holder} and {command} are the commands' names in the
        // settings file (launch, restart), which stay as they are.
        report_words(game, "{key} is {holder}'s already; {command} keeps {keys}.",
                     {{"key", spelling.name(chord)},
                      {"holder", command_name(*holder)},
                      {"command", name},
                      {"keys", listed_chords(bindings.chords_for(command), spelling.name)}});
        return;
    }
    keep_setting(game, spelling.prefix + name, spelling.name(chord));
}
