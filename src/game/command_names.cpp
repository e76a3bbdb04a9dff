#include "game/command_names.h"

#include <utility>

namespace {

using C = Command;
const std::pair<Command, const char*> NAMES[] = {
    {C::TURN_LEFT, "left"},
    {C::TURN_RIGHT, "right"},
    {C::HEAD_UP, "up"},
    {C::HEAD_DOWN, "down"},
    {C::LAUNCH, "launch"},
    {C::RESTART, "restart"},
    {C::UNDO, "undo"},
    {C::HINT, "hint"},
    {C::PREVIOUS_LEVEL, "previous_level"},
    {C::NEXT_LEVEL, "next_level"},
    {C::FIRST_LEVEL, "first_level"},
    {C::FURTHEST_LEVEL, "furthest_level"},
    {C::MUTE, "mute"},
    {C::HELP, "help"},
    {C::EDIT, "edit"},
    {C::TOGGLE_WIREFRAME, "toggle_wireframe"},
    {C::TOGGLE_SAMPLING, "toggle_sampling"},
    {C::CYCLE_MIPMAPS, "cycle_mipmaps"},
    {C::TOGGLE_WHOLE_SCREEN, "whole_screen"},
    {C::CURSOR_AWAY, "cursor_away"},
    {C::CURSOR_NEARER, "cursor_nearer"},
    {C::CURSOR_RIGHT, "cursor_right"},
    {C::CURSOR_LEFT, "cursor_left"},
    {C::LAYER_UP, "layer_up"},
    {C::LAYER_DOWN, "layer_down"},
    {C::PLACE_CUBE, "place_cube"},
    {C::PLACE_BEAMER, "place_beamer"},
    {C::PLACE_SHIP_START, "place_ship_start"},
    {C::PLACE_GOAL, "place_goal"},
    {C::EMPTY_CELL, "empty_cell"},
    {C::GROW, "grow"},
    {C::SHRINK, "shrink"},
    {C::EDIT_UNDO, "edit_undo"},
    {C::EDIT_REDO, "edit_redo"},
    {C::SAVE, "save"},
    {C::NEW_LEVEL, "new_level"},
    {C::PLAY_TEST, "play_test"},
    {C::COPY_LEVEL, "copy_level"},
    {C::PASTE_LEVEL, "paste_level"},
    {C::SOLVER_VIEW, "solver_view"},
    {C::MENU, "menu"},
    {C::MENU_UP, "menu_up"},
    {C::MENU_DOWN, "menu_down"},
    {C::MENU_LEFT, "menu_left"},
    {C::MENU_RIGHT, "menu_right"},
    {C::MENU_CHOOSE, "menu_choose"},
    {C::MENU_BACK, "menu_back"},
};

} // namespace

const char* command_name(Command command)
{
    for (const auto& [named, name] : NAMES)
        if (named == command)
            return name;
    return "show_heading";
}

std::optional<Command> command_named(const std::string& name)
{
    for (const auto& [command, named] : NAMES)
        if (name == named)
            return command;
    return std::nullopt;
}

const std::vector<Command>& named_commands()
{
    static const std::vector<Command> commands = [] {
        std::vector<Command> all;
        for (const auto& entry : NAMES)
            all.push_back(entry.first);
        return all;
    }();
    return commands;
}

bool editor_command(Command command)
{
    switch (command) {
    case Command::CURSOR_AWAY:
    case Command::CURSOR_NEARER:
    case Command::CURSOR_RIGHT:
    case Command::CURSOR_LEFT:
    case Command::LAYER_UP:
    case Command::LAYER_DOWN:
    case Command::PLACE_CUBE:
    case Command::PLACE_BEAMER:
    case Command::PLACE_SHIP_START:
    case Command::PLACE_GOAL:
    case Command::EMPTY_CELL:
    case Command::GROW:
    case Command::SHRINK:
    case Command::EDIT_UNDO:
    case Command::EDIT_REDO:
    case Command::SAVE:
    case Command::NEW_LEVEL:
    case Command::PLAY_TEST:
    case Command::COPY_LEVEL:
    case Command::PASTE_LEVEL:
    case Command::SOLVER_VIEW: return true;
    default: return false;
    }
}

bool menu_command(Command command)
{
    switch (command) {
    case Command::MENU_UP:
    case Command::MENU_DOWN:
    case Command::MENU_LEFT:
    case Command::MENU_RIGHT:
    case Command::MENU_CHOOSE:
    case Command::MENU_BACK: return true;
    default: return false;
    }
}

bool kept_in_editor(Command command)
{
    switch (command) {
    case Command::HELP:
    case Command::TOGGLE_WIREFRAME:
    case Command::TOGGLE_SAMPLING:
    case Command::CYCLE_MIPMAPS:
    case Command::TOGGLE_WHOLE_SCREEN:
    case Command::MUTE:
    case Command::SHOW_HEADING: return true;
    default: return false;
    }
}
