#include "app/progress_keeper.h"

#include "game/game.h"
#include "game/player_lines.h"
#include "progress/progress_file.h"
#include "world/level_loader.h"

void load_progress(Game& game)
{
    ProgressRead read = read_progress(level_set_progress_file(game.level_set));
    game.progress_set = game.level_set;
    game.progress_unwritable = false;
    game.progress = read.progress ? std::move(read.progress.value()) : Progress{};
    game.progress_kept_as_is = read.kept_as_is;
    // Said before the first frame, and shown in it.
    if (!read.progress)
        report_to_player(game, read.progress.problem());
}

void keep_progress(Game& game)
{
    // The game went to the other set's levels: their own solves count now.
    if (game.progress_set != game.level_set)
        load_progress(game);
    // A play-test of a level being edited is no solve of it.
    if (game.edit_mode != EditMode::OFF)
        return;
    bool changed = false;
    for (const WorldEvent& event : game.events)
        if (event.kind == WorldEventKind::SOLVED)
            changed = game.progress.record(level_file_number(event.level, game.level_file_count), event.launches) ||
                      changed;
    // The solves still count in this run: they open levels and make bests.
    if (!changed || game.progress_kept_as_is)
        return;
    if (const Result<> written = write_progress(level_set_progress_file(game.level_set), game.progress);
        !written && !game.progress_unwritable) {
        game.progress_unwritable = true;
        report_to_player(game, written.problem());
    }
}
