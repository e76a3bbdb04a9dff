// Tirak: fly the ship through a grid of cubes and beamers to the goal.

#include "app/main_loop.h"
#include "app/startup.h"
#include "config/config_file.h"
#include "game/fatal_error.h"
#include "game/game.h"
#include "platform/window.h"
#include "world/level_loader.h"

#include <iostream>
#include <memory>

int main()
{
    auto game = std::make_unique<Game>();
    int status = 1;
    try {
        if (initialize(*game) == 0) {
            run(*game);
            status = 0;
        }
    } catch (const ConfigFile::file_not_found& missing) {
        std::cerr << "Cannot open \"" << missing.file_name << "\": " << missing.problem << "." << std::endl;
        platform::terminate();
    } catch (const FatalError& error) {
        // A resource that failed to load, or a level that cannot be played,
        // at start-up or in the middle of play.
        std::cerr << error.message << std::endl;
        platform::terminate();
    }
    return status;
}
