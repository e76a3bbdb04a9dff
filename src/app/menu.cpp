#include "app/menu.h"

#include "game/game.h"
#include "platform/window.h"

#include <algorithm>

namespace {

// The levels a press of left or right skips.
constexpr size_t LEVELS_A_PAGE = 10;

const MenuChoice::Kind MAIN_CHOICES[] = {MenuChoice::CONTINUE, MenuChoice::LEVELS, MenuChoice::OPTIONS,
                                         MenuChoice::HELP, MenuChoice::QUIT};
constexpr size_t LEVELS_ROW = 1;
constexpr size_t OPTIONS_ROW = 2;
// The options screen's rows.
constexpr size_t WHOLE_SCREEN_ROW = 0, VOLUME_ROW = 1, OPTION_ROWS = 3;
constexpr int32_t VOLUME_STEP = 10;
constexpr int32_t MOST_VOLUME = 100;

} // namespace

const std::vector<std::string>& Menu::main_rows()
{
    static const std::vector<std::string> rows = {"Continue", "Levels", "Options", "Help", "Quit"};
    return rows;
}

std::vector<std::string> Menu::option_rows(const MenuOptions& options)
{
    return {std::string("Window: ") + (options.whole_screen ? "the whole screen" : "a window"),
            "Volume: " + std::to_string(options.volume), std::string("Sound: ") + (options.sound ? "on" : "off")};
}

MenuOptions options_of(const Game& game)
{
    return {platform::is_fullscreen(), game.sound_volume, game.sound_on};
}

void Menu::show_options()
{
    screen_ = MenuScreen::OPTIONS;
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
}

size_t Menu::rows() const
{
    switch (screen_) {
    case MenuScreen::MAIN: return main_rows().size();
    case MenuScreen::LEVELS: return levels_.size();
    case MenuScreen::OPTIONS: return OPTION_ROWS;
    }
    return 0;
}

void Menu::show_levels(std::vector<MenuLevel> levels, int32_t current)
{
    levels_ = std::move(levels);
    screen_ = MenuScreen::LEVELS;
    cursor_ = 0;
    for (size_t row = 0; row < levels_.size(); ++row)
        if (levels_[row].number == current)
            cursor_ = row;
}

MenuChoice Menu::answer(Command command, const MenuOptions& options)
{
    const size_t count = rows();
    if (count == 0 && command != Command::MENU_BACK && command != Command::MENU)
        return {};
    if (screen_ == MenuScreen::OPTIONS &&
        (command == Command::MENU_CHOOSE || command == Command::MENU_LEFT || command == Command::MENU_RIGHT)) {
        if (cursor_ == WHOLE_SCREEN_ROW)
            return {MenuChoice::WHOLE_SCREEN};
        if (cursor_ != VOLUME_ROW)
            return {MenuChoice::SOUND};
        const int32_t volume = options.volume;
        if (command == Command::MENU_CHOOSE)
            return {MenuChoice::VOLUME, volume >= MOST_VOLUME ? 0 : std::min(volume + VOLUME_STEP, MOST_VOLUME)};
        const int32_t step = command == Command::MENU_LEFT ? -VOLUME_STEP : VOLUME_STEP;
        return {MenuChoice::VOLUME, std::clamp(volume + step, 0, MOST_VOLUME)};
    }
    switch (command) {
    case Command::MENU_UP: cursor_ = (cursor_ + count - 1) % count; break;
    case Command::MENU_DOWN: cursor_ = (cursor_ + 1) % count; break;
    case Command::MENU_LEFT:
        if (screen_ == MenuScreen::LEVELS)
            cursor_ = cursor_ > LEVELS_A_PAGE ? cursor_ - LEVELS_A_PAGE : 0;
        break;
    case Command::MENU_RIGHT:
        if (screen_ == MenuScreen::LEVELS)
            cursor_ = std::min(cursor_ + LEVELS_A_PAGE, count - 1);
        break;
    case Command::MENU: return {MenuChoice::CONTINUE};
    case Command::MENU_BACK:
        if (screen_ == MenuScreen::MAIN)
            return {MenuChoice::CONTINUE};
        cursor_ = screen_ == MenuScreen::LEVELS ? LEVELS_ROW : OPTIONS_ROW;
        screen_ = MenuScreen::MAIN;
        break;
    case Command::MENU_CHOOSE:
        if (screen_ == MenuScreen::MAIN)
            return {MAIN_CHOICES[cursor_]};
        if (levels_[cursor_].open)
            return {MenuChoice::PLAY_LEVEL, levels_[cursor_].number};
        break;
    default: break;
    }
    return {};
}
