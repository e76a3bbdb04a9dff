// Commands by the names the settings file gives them, as in
// "key_launch = Return", and which of them the editor answers to.
#pragma once

#include "game/command.h"

#include <optional>
#include <string>
#include <vector>

// The command's name: its enumerator in lower case, "next_level", but for
// the heading's four, which are "left", "right", "up" and "down".
const char* command_name(Command command);
// The command a name names; none for SHOW_HEADING, which no key asks for
// by name, or for an unknown name.
std::optional<Command> command_named(const std::string& name);
// Every command that has a name, in the order the enumeration lists them.
const std::vector<Command>& named_commands();

// The commands the editor answers to, besides EDIT.
bool editor_command(Command command);
// The commands that move through the open menu.
bool menu_command(Command command);
// What keeps its meaning while a level is edited: help, the picture, the
// sound.
bool kept_in_editor(Command command);
