#include "app/progress_keeper.h"

#include "game/game.h"
#include "progress/progress_file.h"
#include "world/level_loader.h"

#include <iostream>

void load_progress(Game& game)
{
    std::string problem;
    game.progress = read_progress(PROGRESS_FILE, problem);
    if (!problem.empty())
        std::cerr << problem << std::endl;
}

void keep_progress(Game& game)
{
    // A play-test of a level being edited is no solve of it.
    if (game.edit_mode != EditMode::OFF)
        return;
    bool changed = false;
    for (const WorldEvent& event : game.events)
        if (event.kind == WorldEventKind::SOLVED)
            changed = game.progress.record(level_file_number(event.level, game.level_file_count), event.launches) ||
                      changed;
    if (!changed)
        return;
    std::string problem;
    if (!write_progress(PROGRESS_FILE, game.progress, problem) && !game.progress_unwritable) {
        game.progress_unwritable = true;
        std::cerr << problem << std::endl;
    }
}
