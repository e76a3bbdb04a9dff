#include "app/menu_controls.h"

#include "app/menu.h"
#include "config/config_file.h"
#include "game/game.h"
#include "world/assist.h"
#include "world/flight_rules.h"
#include "world/level_loader.h"
#include "world/level_search.h"

#include <memory>

namespace {

// Every level file as the list shows it, each solved again for its par.
std::vector<MenuLevel> level_rows(const Game& game)
{
    std::vector<MenuLevel> rows;
    const int32_t furthest = furthest_open_level(game);
    for (int32_t number = 1; number <= game.level_file_count; ++number) {
        MenuLevel row;
        row.number = number;
        row.open = number <= furthest;
        const auto best = game.progress.best_launches.find(number);
        row.best = best != game.progress.best_launches.end() ? best->second : 0;
        std::string name;
        try {
            if (const Result<PlayLevel> level = load_play_level(numbered_level_file(number))) {
                name = level->name;
                const LevelSearch search = search_level(level->grid, level->start);
                row.par = search.solvable ? static_cast<int32_t>(search.solution.size()) : 0;
            }
        } catch (const ConfigFile::file_not_found&) {
            // Listed by its number: choosing it says what is wrong, as
            // PageDown to it would.
        }
        row.title = level_title(name, number);
        rows.push_back(std::move(row));
    }
    return rows;
}

void close_menu(Game& game)
{
    game.menu->close();
    game.paused = false;
}

} // namespace

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
    const MenuChoice choice = game.menu->answer(command);
    switch (choice.kind) {
    case MenuChoice::NONE: break;
    case MenuChoice::CONTINUE: close_menu(game); break;
    case MenuChoice::LEVELS: game.menu->show_levels(level_rows(game), game.level_number); break;
    case MenuChoice::HELP:
        close_menu(game);
        game.help_shown = true;
        break;
    case MenuChoice::QUIT: game.quit_requested = true; break;
    case MenuChoice::PLAY_LEVEL:
        close_menu(game);
        game.aids.chosen_level = choice.level;
        game.aids.level_choice = LevelChoice::NUMBER;
        break;
    }
}
