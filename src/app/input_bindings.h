// Which key or pad input asks for which command: the game's own choice,
// and the player's from the settings file ("key_launch = Return").
#pragma once

#include "game/command.h"
#include "game/edit_mode.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A key or one of the pad's inputs, and whether its modifier is held with
// it: Ctrl for a key, the Back button for the pad.
struct Chord {
    int input = 0;
    bool modified = false;
    bool operator==(const Chord& other) const { return input == other.input && modified == other.modified; }
};

struct Binding {
    Command command;
    Chord chord;
};

// How one kind of input is spelled in the settings file: "Ctrl+S", "Back+A".
struct ChordSpelling {
    const char* prefix; // of the settings' keys: "key_", "pad_"
    const char* kind;   // "key", "button"
    std::optional<Chord> (*parse)(const std::string& name);
    std::string (*name)(Chord chord);
};

// The settings file's lines in the order it gives them: key, value.
using SettingLines = std::vector<std::pair<std::string, std::string>>;

class InputBindings {
public:
    explicit InputBindings(std::vector<Binding> defaults);

    // Takes the player's lines for this kind of input, in the file's order:
    // each names a command and gives it the chords listed, comma-separated,
    // in place of the game's (an empty value leaves it none). A chord that
    // an earlier line gave another command stays with that one; one that a
    // default gave another command moves. A command that gets none of the
    // chords it asked for keeps its own. Returns a line for each thing it
    // could not take, naming the file and what was wrong.
    std::vector<std::string> take_settings(const SettingLines& lines, const ChordSpelling& spelling,
                                           const std::string& file_name);

    // Gives the command this chord alone in place of its own, unless a
    // command that can be asked for where it can holds the chord already:
    // that one is returned, and nothing changes.
    std::optional<Command> rebind(Command command, Chord chord);

    // The command a chord asks for in the mode the game is in. A level
    // under test has no level select, and the editor's play-test chord
    // ends the test.
    // While the menu is open only its own commands count.
    std::optional<Command> command_for(Chord chord, EditMode mode, bool menu_open = false) const;
    // The chords that ask for the command, the game's first choice first.
    std::vector<Chord> chords_for(Command command) const;
    // Whether the command's chords are the game's own.
    bool unchanged(Command command) const;

private:
    std::vector<Binding> defaults_;
    std::vector<Binding> bindings_;
};

// The chords as `name` spells them, comma-separated; "none" for none.
std::string listed_chords(const std::vector<Chord>& chords, std::string (*name)(Chord));

// Whether the command can be asked for in play, while a level is edited,
// and while the menu is open.
bool asked_in_play(Command command);
bool asked_in_editor(Command command);
bool asked_in_menu(Command command);
