#include "game/player_lines.h"

#include "game/game.h"

#include <iostream>

void show_message(Game& game, std::string line)
{
    game.said.push_back(std::move(line));
}

void report_to_player(Game& game, std::string line)
{
    std::cout << line << std::endl;
    show_message(game, std::move(line));
}
