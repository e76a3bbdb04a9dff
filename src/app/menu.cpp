#include "app/menu.h"

#include "game/command_names.h"
#include "game/game.h"
#include "language/language.h"
#include "platform/window.h"

#include <algorithm>

namespace {

// The levels or commands a press of left or right skips.
constexpr size_t LEVELS_A_PAGE = 10;

const MenuChoice::Kind MAIN_CHOICES[] = {MenuChoice::CONTINUE, MenuChoice::LEVELS, MenuChoice::OPTIONS,
                                         MenuChoice::KEYS, MenuChoice::HELP, MenuChoice::QUIT};
// The options screen's rows.
enum OptionRow : size_t {
    WHOLE_SCREEN_ROW, VOLUME_ROW, MUSIC_VOLUME_ROW, SOUND_ROW, TEXT_ROW, TEXT_SIZE_ROW, MOUSE_SPEED_ROW, MOUSE_INVERT_ROW, OPTION_ROWS
};
constexpr int32_t VOLUME_STEP = 10;
constexpr int32_t MOST_VOLUME = 100;

// Choosing steps up, round to the least after the most; left and right
// step down and up as far as the ends.
int32_t stepped(int32_t value, Command command, int32_t step, int32_t least, int32_t most)
{
    if (command == Command::MENU_CHOOSE)
        return value >= most ? least : std::min(value + step, most);
    return std::clamp(value + (command == Command::MENU_LEFT ? -step : step), least, most);
}

MenuChoice option_choice(size_t row, Command command, const MenuOptions& options)
{
    switch (row) {
    case WHOLE_SCREEN_ROW: return {MenuChoice::WHOLE_SCREEN};
    case VOLUME_ROW: return {MenuChoice::VOLUME, stepped(options.volume, command, VOLUME_STEP, 0, MOST_VOLUME)};
    case MUSIC_VOLUME_ROW:
        return {MenuChoice::MUSIC_VOLUME, stepped(options.music_volume, command, VOLUME_STEP, 0, MOST_VOLUME)};
    case SOUND_ROW: return {MenuChoice::SOUND};
    case TEXT_ROW: return {MenuChoice::TEXT};
    case TEXT_SIZE_ROW:
        return {MenuChoice::TEXT_SIZE, stepped(static_cast<int32_t>(options.player.text_size), command, 1, 0, 2)};
    case MOUSE_SPEED_ROW:
        return {MenuChoice::MOUSE_SPEED,
                stepped(options.player.mouse_speed, command, MOUSE_SPEED_STEP, LEAST_MOUSE_SPEED, MOST_MOUSE_SPEED)};
    default: return {MenuChoice::MOUSE_INVERT};
    }
}

std::string on_off(bool on)
{
    // TRANSLATORS: whether a setting in the options is on.
    return on ? tr("on") : tr("off");
}

std::string option(const char* pattern, const std::string& value)
{
    return fill(tr(pattern), {{"value", value}});
}

} // namespace

std::vector<std::string> Menu::main_rows()
{
    const char* const rows[] = {N_("Continue"), N_("Levels"), N_("Options"), N_("Keys"), N_("Help"), N_("Quit")};
    std::vector<std::string> shown;
    for (const char* row : rows)
        shown.push_back(tr(row));
    return shown;
}

const std::vector<Command>& Menu::key_commands()
{
    return named_commands();
}

std::vector<std::string> Menu::option_rows(const MenuOptions& options)
{
    // The sizes as the settings name them.
    const char* const sizes[] = {N_("small"), N_("medium"), N_("large")};
    return {option(N_("Window: {value}"), options.whole_screen ? tr("the whole screen") : tr("a window")),
            option(N_("Volume: {value}"), std::to_string(options.volume)),
            option(N_("Music volume: {value}"), std::to_string(options.music_volume)),
            option(N_("Sound: {value}"), on_off(options.sound)),
            option(N_("Text: {value}"), on_off(options.text)),
            option(N_("Text size: {value}"), tr(sizes[static_cast<size_t>(options.player.text_size)])),
            option(N_("Mouse speed: {value}"), std::to_string(options.player.mouse_speed) + "%"),
            option(N_("Mouse up and down: {value}"), options.player.mouse_inverted ? tr("inverted") : tr("as moved"))};
}

MenuOptions options_of(const Game& game)
{
    return {platform::is_fullscreen(), game.sound_volume, game.music_volume, game.sound_on, game.text_shown,
            game.options};
}

void Menu::show_options()
{
    screen_ = MenuScreen::OPTIONS;
    cursor_ = 0;
}

void Menu::show_keys()
{
    screen_ = MenuScreen::KEYS;
    cursor_ = 0;
}

void Menu::open()
{
    open_ = true;
    screen_ = MenuScreen::MAIN;
    cursor_ = 0;
}

void Menu::close()
{
    open_ = false;
    awaiting_.reset();
}

size_t Menu::rows() const
{
    switch (screen_) {
    case MenuScreen::MAIN: return main_rows().size();
    case MenuScreen::LEVELS: return levels_.size();
    case MenuScreen::OPTIONS: return OPTION_ROWS;
    case MenuScreen::KEYS: return key_commands().size();
    }
    return 0;
}

void Menu::show_levels(std::vector<MenuLevel> levels, int32_t current, LevelSet current_set)
{
    levels_ = std::move(levels);
    screen_ = MenuScreen::LEVELS;
    cursor_ = 0;
    for (size_t row = 0; row < levels_.size(); ++row)
        if (levels_[row].number == current && levels_[row].set == current_set)
            cursor_ = row;
}

MenuChoice Menu::answer(Command command, const MenuOptions& options)
{
    const size_t count = rows();
    if (count == 0 && command != Command::MENU_BACK && command != Command::MENU)
        return {};
    if (screen_ == MenuScreen::OPTIONS &&
        (command == Command::MENU_CHOOSE || command == Command::MENU_LEFT || command == Command::MENU_RIGHT))
        return option_choice(cursor_, command, options);
    switch (command) {
    case Command::MENU_UP: cursor_ = (cursor_ + count - 1) % count; break;
    case Command::MENU_DOWN: cursor_ = (cursor_ + 1) % count; break;
    case Command::MENU_LEFT:
        if (screen_ != MenuScreen::MAIN)
            cursor_ = cursor_ > LEVELS_A_PAGE ? cursor_ - LEVELS_A_PAGE : 0;
        break;
    case Command::MENU_RIGHT:
        if (screen_ != MenuScreen::MAIN)
            cursor_ = std::min(cursor_ + LEVELS_A_PAGE, count - 1);
        break;
    case Command::MENU: return {MenuChoice::CONTINUE};
    case Command::MENU_BACK:
        if (screen_ == MenuScreen::MAIN)
            return {MenuChoice::CONTINUE};
        // The screens are listed as the main screen's rows lead to them.
        cursor_ = static_cast<size_t>(screen_);
        screen_ = MenuScreen::MAIN;
        break;
    case Command::MENU_CHOOSE:
        if (screen_ == MenuScreen::MAIN)
            return {MAIN_CHOICES[cursor_]};
        if (screen_ == MenuScreen::KEYS)
            awaiting_ = key_commands()[cursor_];
        else if (levels_[cursor_].open)
            return {MenuChoice::PLAY_LEVEL, levels_[cursor_].number, levels_[cursor_].set};
        break;
    default: break;
    }
    return {};
}
