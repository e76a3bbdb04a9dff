// A failure after which the game cannot go on. Its message is one line that
// names the file and the problem, then any lines that explain it (a shader
// compiler's log); the entry point prints it and exits with status 1.
#pragma once

#include <string>

struct FatalError {
    std::string message;
};
