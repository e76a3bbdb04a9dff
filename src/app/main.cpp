// Tirak: fly the ship through a grid of cubes and beamers to the goal.

#include "game/game.h"
#include "config/config_file.h"
#include "platform/window.h"
#include "world/level_loader.h"

#include <iostream>
#include <memory>

int main()
{
    auto game = std::make_unique<Game>();
    int status = 1;
    try {
        if (game->initialize() == 0) {
            game->run();
            status = 0;
        }
    } catch (const ConfigFile::file_not_found& missing) {
        std::cerr << "Cannot open \"" << missing.file_name << "\": " << missing.problem << "." << std::endl;
        platform::terminate();
    } catch (const LevelError& error) {
        // Raised at start-up or by any later level load in the middle of play.
        std::cerr << "Cannot play \"" << error.file_name << "\": " << error.problem << "."
                  << std::endl;
        platform::terminate();
    } catch (const FatalError& error) {
        std::cerr << error.message << std::endl;
        platform::terminate();
    }
    return status;
}
