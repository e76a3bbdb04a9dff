#include "app/input_bindings.h"

#include "config/config_file.h"
#include "game/command_names.h"

#include <algorithm>

namespace {

// Whether the two commands can be asked for in one mode, so that one chord
// cannot serve both.
bool share_a_mode(Command one, Command other)
{
    return (asked_in_play(one) && asked_in_play(other)) || (asked_in_editor(one) && asked_in_editor(other)) ||
           (asked_in_menu(one) && asked_in_menu(other));
}

// Whether the binding holds the chord where the command would want it.
bool holds_for(const Binding& binding, Chord chord, Command command)
{
    return binding.chord == chord && share_a_mode(binding.command, command);
}

std::vector<std::string> split_list(const std::string& value)
{
    std::vector<std::string> items;
    size_t at = 0;
    while (at <= value.size()) {
        const size_t comma = std::min(value.find(',', at), value.size());
        const std::string item = trim(value.substr(at, comma - at));
        if (!item.empty())
            items.push_back(item);
        at = comma + 1;
    }
    return items;
}

struct PlayersLine {
    std::string setting; // "key_launch = Return", as the messages quote it
    Command command;
    std::vector<Chord> chords;
};

} // namespace

std::string listed_chords(const std::vector<Chord>& chords, std::string (*name)(Chord))
{
    std::string text;
    for (const Chord& chord : chords)
        text += (text.empty() ? "" : ", ") + name(chord);
    return text.empty() ? "none" : text;
}

bool asked_in_play(Command command)
{
    return !editor_command(command) && !menu_command(command);
}

bool asked_in_editor(Command command)
{
    return editor_command(command) || kept_in_editor(command) || command == Command::EDIT;
}

bool asked_in_menu(Command command)
{
    return menu_command(command) || command == Command::MENU || command == Command::MUTE ||
           command == Command::TOGGLE_WHOLE_SCREEN;
}

InputBindings::InputBindings(std::vector<Binding> defaults) : defaults_(defaults), bindings_(std::move(defaults)) {}

std::vector<std::string> InputBindings::take_settings(const SettingLines& lines, const ChordSpelling& spelling,
                                                      const std::string& file_name)
{
    std::vector<std::string> problems;
    const std::string prefix = spelling.prefix;
    std::vector<PlayersLine> taken;
    for (const auto& [key, value] : lines) {
        if (key.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string setting = key + " = " + value;
        const std::optional<Command> command = command_named(key.substr(prefix.size()));
        if (!command) {
            problems.push_back(file_name + ": " + key + " names no command; the manual page tirak(6) lists them.");
            continue;
        }
        PlayersLine line{setting, *command, {}};
        const std::vector<std::string> items = split_list(value);
        for (const std::string& item : items) {
            const std::optional<Chord> chord = spelling.parse(item);
            if (!chord) {
                problems.push_back(file_name + ": " + setting + ": \"" + item + "\" is no " + spelling.kind +
                                   " name; " + command_name(*command) + " keeps " +
                                   listed_chords(chords_for(*command), spelling.name) + ".");
                line.chords.clear();
                break;
            }
            line.chords.push_back(*chord);
        }
        if (line.chords.empty() && !items.empty())
            continue;
        taken.push_back(std::move(line));
    }

    // The player's lines replace the game's choice for their commands first,
    // so that two commands can swap their chords in either order.
    const auto named = [&](Command command) {
        return std::any_of(taken.begin(), taken.end(), [&](const PlayersLine& line) { return line.command == command; });
    };
    bindings_.erase(std::remove_if(bindings_.begin(), bindings_.end(), [&](const Binding& b) { return named(b.command); }),
                    bindings_.end());
    std::vector<Binding> players;
    for (const PlayersLine& line : taken) {
        for (const Chord& chord : line.chords) {
            const auto holds = [&](const Binding& b) { return holds_for(b, chord, line.command); };
            if (const auto earlier = std::find_if(players.begin(), players.end(), holds); earlier != players.end()) {
                if (earlier->command != line.command)
                    problems.push_back(file_name + ": " + line.setting + ": " + spelling.name(chord) + " is " +
                                       command_name(earlier->command) + "'s already, and " +
                                       command_name(earlier->command) + " keeps it.");
                continue;
            }
            if (const auto game_s = std::find_if(bindings_.begin(), bindings_.end(), holds); game_s != bindings_.end()) {
                const Command loser = game_s->command;
                bindings_.erase(game_s);
                if (chords_for(loser).empty())
                    problems.push_back(file_name + ": " + line.setting + " takes " + command_name(loser) + "'s only " +
                                       spelling.kind + "; " + command_name(loser) + " has none now.");
            }
            players.push_back({line.command, chord});
        }
    }
    bindings_.insert(bindings_.end(), players.begin(), players.end());

    // A command whose every chord went to others keeps the game's own that
    // are still free, rather than being left with none.
    for (const PlayersLine& line : taken) {
        if (line.chords.empty() || !chords_for(line.command).empty())
            continue;
        for (const Binding& own : defaults_) {
            const auto taken_by = [&](const Binding& b) { return holds_for(b, own.chord, own.command); };
            if (own.command == line.command && std::none_of(bindings_.begin(), bindings_.end(), taken_by))
                bindings_.push_back(own);
        }
    }
    return problems;
}

std::optional<Command> InputBindings::rebind(Command command, Chord chord)
{
    for (const Binding& binding : bindings_)
        if (binding.command != command && holds_for(binding, chord, command))
            return binding.command;
    bindings_.erase(std::remove_if(bindings_.begin(), bindings_.end(),
                                   [&](const Binding& b) { return b.command == command; }),
                    bindings_.end());
    bindings_.push_back({command, chord});
    return std::nullopt;
}

std::optional<Command> InputBindings::command_for(Chord chord, EditMode mode, bool menu_open) const
{
    const auto find = [&](bool (*asked)(Command)) -> std::optional<Command> {
        for (const Binding& binding : bindings_)
            if (binding.chord == chord && asked(binding.command))
                return binding.command;
        return std::nullopt;
    };
    if (menu_open)
        return find(asked_in_menu);
    if (mode == EditMode::EDITING)
        return find(asked_in_editor);
    if (mode == EditMode::TESTING) {
        const std::optional<Command> editors = find(asked_in_editor);
        if (editors == Command::EDIT || editors == Command::PLAY_TEST)
            return Command::EDIT;
    }
    const std::optional<Command> command = find(asked_in_play);
    if (mode == EditMode::TESTING && command &&
        (*command == Command::PREVIOUS_LEVEL || *command == Command::NEXT_LEVEL ||
         *command == Command::FIRST_LEVEL || *command == Command::FURTHEST_LEVEL))
        return std::nullopt;
    return command;
}

std::vector<Chord> InputBindings::chords_for(Command command) const
{
    std::vector<Chord> chords;
    for (const Binding& binding : bindings_)
        if (binding.command == command)
            chords.push_back(binding.chord);
    return chords;
}

bool InputBindings::unchanged(Command command) const
{
    std::vector<Chord> own;
    for (const Binding& binding : defaults_)
        if (binding.command == command)
            own.push_back(binding.chord);
    return own == chords_for(command);
}
