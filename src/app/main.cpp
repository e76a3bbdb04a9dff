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
