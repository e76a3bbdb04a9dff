#include "game/player_lines.h"

#include "game/game.h"

#include <iostream>

void show_message(Game& game, std::string line)
{
    game.said.push_back(std::move(line));
}

void report_to_player(Game& game, std::string line)
{
    report_to_player(game, line, line);
}

void show_words(Game& game, const char* pattern, Values values)
{
    show_message(game, fill(tr(pattern), values));
}

void report_words(Game& game, const char* pattern, Values values)
{
    report_to_player(game, fill(pattern, values), fill(tr(pattern), values));
}

void report_to_player(Game& game, const std::string& line, std::string shown)
{
    std::cout << line << std::endl;
    show_message(game, std::move(shown));
}
