#include "app/menu.h"

#include <algorithm>

namespace {

// The levels a press of left or right skips.
constexpr size_t LEVELS_A_PAGE = 10;

const MenuChoice::Kind MAIN_CHOICES[] = {MenuChoice::CONTINUE, MenuChoice::LEVELS, MenuChoice::HELP, MenuChoice::QUIT};
constexpr size_t LEVELS_ROW = 1;

} // namespace

const std::vector<std::string>& Menu::main_rows()
{
    static const std::vector<std::string> rows = {"Continue", "Levels", "Help", "Quit"};
    return rows;
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
    return screen_ == MenuScreen::MAIN ? main_rows().size() : levels_.size();
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

MenuChoice Menu::answer(Command command)
{
    const size_t count = rows();
    if (count == 0 && command != Command::MENU_BACK && command != Command::MENU)
        return {};
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
        screen_ = MenuScreen::MAIN;
        cursor_ = LEVELS_ROW;
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
