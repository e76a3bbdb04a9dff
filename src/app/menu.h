// The menu over the game: a main screen of choices and the list of levels,
// the row the cursor is on, and what a choice asks of the game. It draws
// nothing and changes nothing itself: the controls carry out its choices,
// and the HUD shows it.
#pragma once

#include "game/command.h"
#include "game/level_set.h"
#include "game/player_options.h"

class Game;

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A level as the list shows it.
struct MenuLevel {
    int32_t number = 0;
    std::string title;
    bool open = false; // solved up to it, or before the start level
    int32_t best = 0;  // the fewest launches it was solved in; 0 unsolved
    int32_t par = 0;   // 0 where there is no way to the goal
    LevelSet set = LevelSet::SHIPPED; // ours, or the player's own after them
};

// The options as the options screen shows them, read from the game and
// the window each time.
struct MenuOptions {
    bool whole_screen = false;
    int32_t volume = 80; // 0 to 100
    int32_t music_volume = 60;
    bool sound = true;   // the settings' sound: whether a sound device opens
    bool text = true;
    PlayerOptions player;
};

MenuOptions options_of(const Game& game);

// In the order of the main screen's rows that lead to them.
enum class MenuScreen { MAIN, LEVELS, OPTIONS, KEYS };

// What choosing asks for.
struct MenuChoice {
    enum Kind {
        NONE, CONTINUE, LEVELS, OPTIONS, KEYS, HELP, QUIT, PLAY_LEVEL,
        WHOLE_SCREEN, VOLUME, MUSIC_VOLUME, SOUND, TEXT, TEXT_SIZE, MOUSE_SPEED, MOUSE_INVERT
    } kind = NONE;
    // The level for PLAY_LEVEL; the new volume, text size (as a number) or
    // mouse speed for those.
    int32_t value = 0;
    LevelSet set = LevelSet::SHIPPED; // the PLAY_LEVEL's set
};

class Menu {
public:
    bool is_open() const { return open_; }
    // Opens on the main screen, the cursor on Continue.
    void open();
    void close();

    // Moves the cursor (up and down, left and right a page of levels or
    // commands) or
    // chooses; back leaves a screen for the main one and the main screen
    // for the game. A closed level is no choice. On an option, choosing
    // turns it over or steps it up, round to the least after the most;
    // left and right step a number down and up (the volume by tens, the
    // mouse speed by quarters), and turn over what is on or off.
    MenuChoice answer(Command command, const MenuOptions& options);

    // The levels screen, ours and then the player's own, its cursor on the
    // level being played.
    void show_levels(std::vector<MenuLevel> levels, int32_t current, LevelSet current_set);
    // The options screen, its cursor on the first.
    void show_options();
    // The keys screen: every command with its keys and buttons. Choosing
    // one waits for the next key or button, which the controls give it.
    void show_keys();
    std::optional<Command> awaiting() const { return awaiting_; }
    void stop_awaiting() { awaiting_.reset(); }

    MenuScreen screen() const { return screen_; }
    size_t cursor() const { return cursor_; }
    const std::vector<MenuLevel>& levels() const { return levels_; }
    // The main screen's rows, the options screen's, and the keys screen's
    // commands.
    static std::vector<std::string> main_rows();
    static const std::vector<Command>& key_commands();
    static std::vector<std::string> option_rows(const MenuOptions& options);

private:
    size_t rows() const;

    bool open_ = false;
    MenuScreen screen_ = MenuScreen::MAIN;
    size_t cursor_ = 0;
    std::vector<MenuLevel> levels_;
    std::optional<Command> awaiting_; // the command whose new key or button is awaited
};
